#pragma once

#include <array>
#include <optional>

// The commands of the planner's toolbar.
enum class Command { Back, Next, Filter, Categories, Save, Print, About };

// One place on the toolbar, as the planner's form has it.
struct ToolbarEntry
{
    const char *key;     // null for a separator
    const char *caption; // what the button shows
    const char *tooltip;
    std::optional<Command> command; // none: the stretched status button and the year's place
};

// The toolbar from left to right: eleven places, counting the leading status button (stretched
// so that the others keep to the right edge), the place of the selected-year label and two
// separators.
using ToolbarLayout = std::array<ToolbarEntry, 11>;
const ToolbarLayout &PlannerToolbarLayout();

// The entry of a command.
const ToolbarEntry &EntryOf(Command command);
