// The application's loop over a real window: input, timers and main-queue work in one
// loop, redraws paced to the screen, and the ways a run ends.

#include <SDL.h>
#include <gtest/gtest.h>

#include <thread>

#include "Dispatch/Dispatch.h"
#include "Foundation/Timer.h"
#include "ScreenTest.h"

namespace {

using namespace DisplayTest;
using Stop = DisplayServer::StopReason;

class Loop : public ScreenTest {
  protected:
    void SetUp() override { open(1); }
};

TEST_F(Loop, ARunServesTimersMainQueueWorkAndInputInOneLoop) {
    int ticks = 0;
    bool fromThread = false;
    // The run ends (through a quit from its own timer) once all three have come.
    auto timer = Timer::scheduled(0.01, true, [&](Timer&) {
        ++ticks;
        if (ticks >= 3 && fromThread && !view->ofType(NSEvent::Type::leftMouseUp).empty())
            server->requestQuit();
    });
    std::thread([&] { DispatchQueue::main().async([&] { fromThread = true; }); }).join();
    // Input that arrives while the loop runs reaches the view within the same run.
    int driven = -2;
    std::thread driver([&] {
        driven = VirtualScreen::run(join({{"xdotool"}, moveTo({30, 30}), {"click", "1"}}));
    });
    auto reason = server->run({.timeLimit = 10});
    driver.join();
    timer->invalidate();
    EXPECT_EQ(driven, 0);
    EXPECT_EQ(reason, Stop::quitRequested);
    EXPECT_TRUE(fromThread);
    auto downs = view->ofType(NSEvent::Type::leftMouseDown);
    ASSERT_EQ(downs.size(), 1u);
    expectAt(downs[0], {30, 30});

    // A time limit ends a run that nothing else ends.
    EXPECT_EQ(server->run({.timeLimit = 0.05}), Stop::timeLimit);
}

TEST_F(Loop, AQuitFromAnyThreadOrTheLastWindowClosingEndsTheRun) {
    std::thread quitter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        server->requestQuit();
    });
    EXPECT_EQ(server->run({.timeLimit = 5}), Stop::quitRequested);
    quitter.join();
    // The request was used up: the next run goes on until something else ends it.
    EXPECT_EQ(server->run({.timeLimit = 0.05}), Stop::timeLimit);
    // A request made before a run ends that run at once.
    server->requestQuit();
    EXPECT_EQ(server->run({.timeLimit = 5}), Stop::quitRequested);

    bool closed = false;
    shown->closed = [&] { closed = true; };
    auto closer = Timer::scheduled(0.03, false, [&](Timer&) { shown->close(); });
    EXPECT_EQ(server->run({.timeLimit = 5}), Stop::windowsClosed);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(server->windows().empty());
    EXPECT_EQ(shown->nativeWindowId(), 0u);
    // The NSWindow no longer presents through the closed window.
    auto presents = shown->presentCount();
    window->display();
    EXPECT_EQ(shown->presentCount(), presents);
}

TEST_F(Loop, TheDesktopsQuitAndWindowCloseEndTheRunToo) {
    // What an interrupt or a session's end sends, and the window's close button.
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(server->run({.timeLimit = 5}), Stop::quitRequested);

    bool closed = false;
    shown->closed = [&] { closed = true; };
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    // The window has the keyboard (the fixture gave it the focus).
    close.window.windowID = SDL_GetWindowID(SDL_GetKeyboardFocus());
    ASSERT_NE(close.window.windowID, 0u);
    SDL_PushEvent(&close);
    EXPECT_EQ(server->run({.timeLimit = 5}), Stop::windowsClosed);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(shown->isOpen());
}

TEST_F(Loop, RedrawsFollowRequestsForDisplayAtMostOncePerFrame) {
    // Idle: nothing asks, nothing is drawn.
    auto presents = shown->presentCount();
    int draws = view->draws;
    server->run({.timeLimit = 0.15});
    EXPECT_EQ(shown->presentCount(), presents);
    EXPECT_EQ(view->draws, draws);

    // A view asking every millisecond is drawn at most at the screen's 60 Hz.
    auto asker = Timer::scheduled(0.001, true, [&](Timer&) { view->setNeedsDisplay(); });
    const double seconds = 0.5;
    server->run({.timeLimit = seconds});
    asker->invalidate();
    auto redraws = shown->presentCount() - presents;
    EXPECT_GE(redraws, 3u);
    EXPECT_LE(redraws, unsigned(seconds * 60) + 2);
    EXPECT_EQ(view->draws - draws, int(redraws));

    // Displaying now draws at once, whatever the pace.
    presents = shown->presentCount();
    view->display();
    EXPECT_EQ(shown->presentCount(), presents + 1);
}

class ResizableLoop : public ScreenTest {
  protected:
    void SetUp() override { open(2, true); }
};

TEST_F(ResizableLoop, TheRealWindowAndTheNSWindowFollowEachOthersSize) {
    // The person (here: xdotool) resizes the real window: the content follows in points.
    xdotool({"windowsize", xid, "300", "240"}, [&] { return window->contentSize().width == 150; });
    EXPECT_EQ(window->contentSize().height, 120);
    EXPECT_EQ(view->frame().size.width, 150);
    EXPECT_TRUE(pumpUntil([&] { return !shown->needsPresent(); }));
    // The application resizes the NSWindow: the real window follows at its next redraw.
    window->setContentSize({100, 50});
    EXPECT_TRUE(pumpUntil([&] { return shown->pixelSize().width == 200; }));
    EXPECT_EQ(shown->pixelSize().height, 100);
    EXPECT_EQ(window->contentSize().width, 100);
}

} // namespace
