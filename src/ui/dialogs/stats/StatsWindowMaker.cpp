// The module sorafumi-stats: the statistics window and its charts.
#include "ui/dialogs/stats/StatsModule.h"
#include "ui/dialogs/stats/StatsWindow.h"

namespace {

class StatsWindowMaker final : public StatsModule
{
public:
    QDialog* MakeWindow(DiaryStore& store, Prompter& prompter, const Clock& clock, QCalendarWidget* calendar,
                        const DiaryLock* lock, QWidget* parent) override
    {
        auto* window = new StatsWindow(store, prompter, clock, calendar, parent);
        window->WarnOfPlainCopies(lock);
        return window;
    }
};

} // namespace

extern "C" Q_DECL_EXPORT StatsModule* SorafumiStatsModule()
{
    static StatsWindowMaker module;
    return &module;
}
