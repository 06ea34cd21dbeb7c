#pragma once
// Registers every embedded file under its name, in the game's fixed order,
// so that "incbin::" + name resolves. Defined by the generated asset table.
void registerAssetStore();
