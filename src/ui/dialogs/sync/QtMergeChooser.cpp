#include "ui/dialogs/sync/QtMergeChooser.h"

#include "core/platform/Prompter.h"
#include "ui/dialogs/sync/MergeWindow.h"

std::optional<std::vector<Resolution>> QtMergeChooser::Choose(const MergeQuestion& question)
{
    MergeWindow window(question, parent_);
    prompter_.ShowModal(window);
    return window.Choices();
}
