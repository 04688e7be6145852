#pragma once

#include "cli_support.h"

// One function per velmar-cli command; the arguments have been counted and the options checked.
namespace velmar::cli {

int runSample(const Invocation& inv, Io& io);
int runScenes(const Invocation& inv, Io& io);
int runScene(const Invocation& inv, Io& io);
int runRoundtrip(const Invocation& inv, Io& io);
int runResizeMap(const Invocation& inv, Io& io);
int runResizeItems(const Invocation& inv, Io& io);
int runResizeEnemies(const Invocation& inv, Io& io);
int runSetEnemy(const Invocation& inv, Io& io);
int runSetItem(const Invocation& inv, Io& io);
int runAddEnemy(const Invocation& inv, Io& io);
int runAddItem(const Invocation& inv, Io& io);
int runDeleteEnemy(const Invocation& inv, Io& io);
int runDeleteItem(const Invocation& inv, Io& io);
int runSetStart(const Invocation& inv, Io& io);
int runSetProperty(const Invocation& inv, Io& io);
int runSetSubtile(const Invocation& inv, Io& io);
int runSetMetatile(const Invocation& inv, Io& io);
int runSetAttribute(const Invocation& inv, Io& io);
int runTexts(const Invocation& inv, Io& io);
int runSetText(const Invocation& inv, Io& io);
int runRender(const Invocation& inv, Io& io);
int runSheet(const Invocation& inv, Io& io);
int runTiles(const Invocation& inv, Io& io);
int runImportTiles(const Invocation& inv, Io& io);
int runFrames(const Invocation& inv, Io& io);
int runPatch(const Invocation& inv, Io& io);
int runApply(const Invocation& inv, Io& io);
int runExportScene(const Invocation& inv, Io& io);
int runImportScene(const Invocation& inv, Io& io);
int runExportTiled(const Invocation& inv, Io& io);
int runImportTiled(const Invocation& inv, Io& io);
int runExport(const Invocation& inv, Io& io);
int runImport(const Invocation& inv, Io& io);

}  // namespace velmar::cli
