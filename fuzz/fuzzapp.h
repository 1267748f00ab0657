#pragma once

#include <QCoreApplication>

// The application object the code under test expects (the loop it yields to, its pid and paths),
// made once before the first input.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}
