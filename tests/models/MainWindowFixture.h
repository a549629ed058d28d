#pragma once

#include "app/basmain.h"
#include "app/frmshowcolor.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/TestData.h"

#include <QStringList>

#include <memory>

// A main window of its own for one test case: a fresh data folder, a fresh
// FakePlatform, and the window holding the given current colour.
struct MainWindowFixture
{
    std::unique_ptr<TestDataFolder> folder;
    FakePlatform platform;
    std::unique_ptr<frmshowcolor> main;

    void start(Color color)
    {
        folder = std::make_unique<TestDataFolder>();
        platform = FakePlatform();
        main.reset(basmain::CreateMainWindow(platform, folder->path()));
        main->CurrentColorChanged(color);
    }

    // Closes the window and returns the platform questions no test scripted.
    QStringList finish()
    {
        main.reset();
        folder.reset();
        return platform.unexpected;
    }
};
