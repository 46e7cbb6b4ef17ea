#include "ui/dialogs/stats/StatsModule.h"

#include "ui/platform/ModuleLibrary.h"

StatsModule* StatsModule::Load(Prompter& prompter)
{
    static StatsModule* loaded = nullptr;
    if (loaded)
        return loaded;
    using Entry = StatsModule* (*)();
    if (const auto entry = reinterpret_cast<Entry>(
            ModuleLibrary::Entry(QStringLiteral("sorafumi-stats"), "SorafumiStatsModule", prompter)))
        loaded = entry();
    return loaded;
}
