#include "commands.h"

#include <QtGlobal>

#include <stdexcept>

const ToolbarLayout &PlannerToolbarLayout()
{
    static const ToolbarLayout layout = {{
        {"Status", "", "", std::nullopt},
        {"Back", "<", QT_TRANSLATE_NOOP("PlannerToolBar", "Back a year"), Command::Back},
        {nullptr, nullptr, nullptr, std::nullopt},
        {"Year", "", "", std::nullopt},
        {"Next", ">", QT_TRANSLATE_NOOP("PlannerToolBar", "Forward a year"), Command::Next},
        {nullptr, nullptr, nullptr, std::nullopt},
        {"Filter", QT_TRANSLATE_NOOP("PlannerToolBar", "Filter"),
         QT_TRANSLATE_NOOP("PlannerToolBar", "Apply filter"), Command::Filter},
        {"Categories", QT_TRANSLATE_NOOP("PlannerToolBar", "Categories"),
         QT_TRANSLATE_NOOP("PlannerToolBar", "Define Categories"), Command::Categories},
        {"Save", QT_TRANSLATE_NOOP("PlannerToolBar", "Export"),
         QT_TRANSLATE_NOOP("PlannerToolBar", "Export"), Command::Save},
        {"Print", QT_TRANSLATE_NOOP("PlannerToolBar", "Print"),
         QT_TRANSLATE_NOOP("PlannerToolBar", "Print this year"), Command::Print},
        {"About", "?", QT_TRANSLATE_NOOP("PlannerToolBar", "About Quorvel"), Command::About},
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
