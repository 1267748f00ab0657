#include "commands.h"

#include <stdexcept>

const ToolbarLayout &PlannerToolbarLayout()
{
    static const ToolbarLayout layout = {{
        {"Status", "", "", std::nullopt},
        {"Back", "<", "Back a year", Command::Back},
        {nullptr, nullptr, nullptr, std::nullopt},
        {"Year", "", "", std::nullopt},
        {"Next", ">", "Forward a year", Command::Next},
        {nullptr, nullptr, nullptr, std::nullopt},
        {"Filter", "Filter", "Apply filter", Command::Filter},
        {"Categories", "Categories", "Define Categories", Command::Categories},
        {"Save", "Export", "Export", Command::Save},
        {"Print", "Print", "Print this year", Command::Print},
        {"About", "?", "About Quorvel", Command::About},
    }};
    return layout;
}

const ToolbarEntry &EntryOf(Command command)
{
    for (const ToolbarEntry &e : PlannerToolbarLayout()) {
        if (e.command == command)
            return e;
    }
    throw std::logic_error("a command without a toolbar entry");
}
