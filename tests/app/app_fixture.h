#pragma once

#include <memory>

#include <QDir>
#include <QString>

#include "frm_main.h"
#include "qt_bridge.h"
#include "rom/area_catalogue.h"
#include "rom/scene_codec.h"
#include "scripted_dialogs.h"
#include "support/test_support.h"

namespace velmar::test {

// A program folder with a dat folder and a copy of the sample image, and a main window on it.
class AppFixture {
public:
    TempDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> window;

    QString dat() const { return QString::fromStdString((dir.path() / "dat").string()); }
    QString file(const std::string& name) const { return QString::fromStdString(dir.file(name).string()); }

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

    QString writeSample(const std::string& name = "game.nes")
    {
        const RomImage& image = sampleImage();
        const Bytes bytes = image.fileBytes();
        writeFile(dir.file(name), std::string(bytes.begin(), bytes.end()));
        return file(name);
    }

    frmMain& start()
    {
        window = std::make_unique<frmMain>(dat(), dialogs);
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

    // The first catalogue scene of the sample for which `want` holds.
    template <typename Pred>
    static std::string findScene(Pred want)
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

}  // namespace velmar::test
