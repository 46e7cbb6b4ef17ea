// The module sorafumi-stats: the statistics window and its charts.
#include "ui/dialogs/stats/StatsModule.h"
#include "ui/dialogs/stats/StatsWindow.h"

namespace {

class StatsWindowMaker final : public StatsModule
{
public:
    QDialog* MakeWindow(DiaryStore& store, Prompter& prompter, const Clock& clock, QCalendarWidget* calendar,
                        QWidget* parent) override
    {
        return new StatsWindow(store, prompter, clock, calendar, parent);
    }
};

} // namespace

extern "C" Q_DECL_EXPORT StatsModule* SorafumiStatsModule()
{
    static StatsWindowMaker module;
    return &module;
}
