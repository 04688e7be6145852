#pragma once

#include <array>

#include <QObject>

#include "actors/actor_placement.h"

namespace velmar {

// The selected enemy and the selected item of the current scene, shared as the views of an
// editor share the document: the actors panel chooses them, and the map marks the one of the
// mode (a frame round its picture, and for an enemy its player-position line). An index may
// name no actor (an empty list): then nothing is marked.
class ActorSelection : public QObject {
    Q_OBJECT
public:
    explicit ActorSelection(QObject* parent = nullptr) : QObject(parent) { }

    int selected(ActorKind kind) const { return selected_[static_cast<std::size_t>(kind)]; }
    // Actor `index` of `kind` is the selected one from now on.
    void select(ActorKind kind, int index)
    {
        int& at = selected_[static_cast<std::size_t>(kind)];
        if (at == index)
            return;
        at = index;
        emit changed();
    }

signals:
    void changed();

private:
    std::array<int, 2> selected_{};
};

}  // namespace velmar
