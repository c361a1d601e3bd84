#pragma once

// Registers the seven list models as QML types, each in a module of its own
// ("velmora.levelchecker.<model>", version 1.0). Called once before the main view loads.
class QmlTypeRegistry
{
public:
    static void registerListModels();
};
