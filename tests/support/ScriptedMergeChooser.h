#pragma once

#include "core/sync/MergeChooser.h"

// Answers the merge window with one prepared choice and keeps each question.
class ScriptedMergeChooser : public MergeChooser
{
public:
    std::optional<std::vector<Resolution>> Choose(const MergeQuestion& question) override
    {
        asked.push_back(question);
        return answer;
    }

    std::optional<std::vector<Resolution>> answer;
    std::vector<MergeQuestion> asked;
};
