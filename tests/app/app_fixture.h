#pragma once

#include <memory>
#include <ostream>

#include <gtest/gtest.h>

// The widgets of the windows under test, which every window test reaches into.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QTemporaryDir>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QString>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "frm_main.h"
#include "qt_bridge.h"
#include "rom/area_catalogue.h"
#include "rom/scene_codec.h"
#include "scripted_dialogs.h"
#include "support/test_support.h"

namespace velmar::test {

// The lock a killed editor leaves: written as this system's QLockFile writes it (its host is
// COMPUTERNAME on Windows, the host name elsewhere), naming a process that is no more.
inline std::string deadEditorLock()
{
    QTemporaryDir folder;
    QLockFile lock(folder.filePath("editor.lock"));
    EXPECT_TRUE(lock.tryLock(0));
    QFile file(folder.filePath("editor.lock"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    return "2147483647" + text.mid(text.indexOf('\n')).toStdString();
}

// A program folder with a dat folder and a copy of the sample image, and a main window on it.
class AppFixture {
public:
    TempDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> window;

    QString dat() const { return QString::fromStdString((dir.path() / "dat").string()); }
    // The user's configuration folder of the test: made only when VELMAR.INI goes there.
    QString config() const { return QString::fromStdString((dir.path() / "config").string()); }
    QString file(const std::string& name) const { return QString::fromStdString(dir.file(name).string()); }
    // The user's data folder of the test, where the recovery copy goes when `keepRecovery` is set.
    QString data() const { return QString::fromStdString((dir.path() / "data").string()); }
    bool keepRecovery = false;

    // Writes the three shipped data files and a valid VELMAR.INI, so start-up shows nothing.
    void writeGoodDataFiles()
    {
        QDir().mkpath(dat());
        const auto d = dir.path() / "dat";
        writeFile(d / "VELMAR.INI", "/roms\n\n\n\n\n\n\nFalse\n");
        writeFile(d / "ITEM.DAT", "1\nFirst Item\nSecond Item\n");
        writeFile(d / "ENEMY.DAT", "0\nOnly Enemy\n");
        writeFile(d / "TBL.DAT", "41=A\n");
    }

    // Writes `image` as the file `name` and gives its path.
    QString writeSample(const std::string& name = "game.nes", const RomImage& image = sampleImage())
    {
        const Bytes bytes = image.fileBytes();
        writeFile(dir.file(name), std::string(bytes.begin(), bytes.end()));
        return file(name);
    }

    frmMain& start()
    {
        window = std::make_unique<frmMain>(dat(), config(), keepRecovery ? data() : QString(), dialogs);
        window->setLauncher([this](const QString& program, const QStringList& args) {
            launched << program + " " + args.join(" ");
            return launchResult;
        });
        return *window;
    }

    frmMain& startWithSample()
    {
        writeGoodDataFiles();
        start();
        window->loadRom(false, writeSample());
        dialogs.messages.clear();
        return *window;
    }

    void select(const char* key) { window->tvAreaList_NodeClick(window->findNode(key)); }

    // Shows the first catalogue scene for which `want` holds, and gives its key.
    template <typename Pred> std::string selectScene(Pred want)
    {
        const std::string key = findScene(want);
        EXPECT_FALSE(key.empty()) << "the sample has no such scene";
        if (!key.empty())
            select(key.c_str());
        return key;
    }

    // One unsaved edit: the first cell of the map gets another metatile.
    void editFirstCell()
    {
        choose(otherThanAt(0));
        stroke({QPoint(0, 0)});
    }

    // A press, a drag through `points` and a release on the map, in map pixels, as the mouse
    // gives them.
    void stroke(std::initializer_list<QPoint> points, Qt::MouseButton button = Qt::LeftButton)
    {
        window->picRenderDest_MouseDown(*points.begin(), button);
        for (const QPoint* p = points.begin() + 1; p < points.end(); ++p)
            window->picRenderDest_MouseMove(*p, button);
        window->picRenderDest_MouseUp(*(points.end() - 1), button);
    }

    // The metatile at `index` of the current map plus one: placing it is surely a change.
    std::uint8_t otherThanAt(std::size_t index) const
    {
        return static_cast<std::uint8_t>(window->doc().currentScene().map[index] + 1);
    }

    // Clicks `button` of the main window and gives the editor window `T` that it shows.
    template <typename T> T& open(QAbstractButton* button)
    {
        button->click();
        T* opened = window->findChild<T*>();
        EXPECT_TRUE(opened && opened->isVisible());
        return *opened;
    }

    // Chooses metatile `m` in the picker.
    void choose(std::uint8_t m) { window->picBkgNat_MouseDown(QPoint(m % 16 * 32, m / 16 * 32), Qt::LeftButton); }

    // The first catalogue scene of the sample for which `want` holds.
    template <typename Pred> static std::string findScene(Pred want)
    {
        for (const AreaNode& n : areaCatalogue()) {
            const auto key = parseSceneKey(n.key);
            SceneRecord s;
            if (key && loadScene(sampleImage().romData, key->stage, key->scene, s).ok() && want(s))
                return std::string(n.key);
        }
        return {};
    }

    QStringList launched;
    bool launchResult = true;
};

// Most window tests start from the main window with the sample open.
class SampleWindow : public ::testing::Test {
protected:
    AppFixture f;
    frmMain& w = f.startWithSample();
};

}  // namespace velmar::test

// A failed comparison of texts shows them as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
