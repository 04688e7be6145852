#pragma once

#include <optional>

#include <QString>

#include "editor/document.h"

namespace velmar {

class Dialogs;

// What to tell the user about an edit that did not go through: a change the document could not
// store and read back (it undid it) always, a refusal when it came with a reason. An edit that
// was recorded or changed nothing, and a refusal without a reason (a cell off the map in a
// stroke, an entry that is gone), leave nothing to say.
std::optional<QString> editFailureText(const Outcome<EditResult>& result);

// Shows editFailureText, if any, as a message box.
void showEditFailure(Dialogs& dialogs, const Outcome<EditResult>& result);

}  // namespace velmar
