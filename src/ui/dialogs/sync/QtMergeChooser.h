#pragma once

#include "core/sync/MergeChooser.h"

class Prompter;
class QWidget;

// Asks the user about a merge's conflicts in the merge window, shown through
// the prompter like every modal window, so that tests can answer it.
class QtMergeChooser : public MergeChooser
{
public:
    QtMergeChooser(Prompter& prompter, QWidget* parent) : prompter_(prompter), parent_(parent) {}

    std::optional<std::vector<Resolution>> Choose(const MergeQuestion& question) override;

private:
    Prompter& prompter_;
    QWidget* parent_;
};
