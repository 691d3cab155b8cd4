#include "EditorCommand.h"

#include "EditorPlayback.h"
#include "HostCommands.h"
#include "PopupMenu.h"

#include "AudioToolbox/AVAudioFormat.h"
#include "CoreAudioKit/AUViewController.h"
#include "Display/DisplayServer.h"
#include "Display/Headless.h"
#include "Foundation/RunLoop.h"
#include "SwiftUI/NSHostingView.h"

#include <ostream>

namespace {

std::optional<AUError> allocate(AUAudioUnit& unit, const AudioClip& clip) {
    auto format =
        AVAudioFormat::standardFormat(clip.sampleRate, AUAudioChannelCount(clip.channels.size()));
    if (!(*unit.inputBusses())[0]->setFormat(format) ||
        !(*unit.outputBusses())[0]->setFormat(format))
        return AUError{kAudioUnitErr_FormatNotSupported, "the effect refuses the clip's format"};
    unit.setMaximumFramesToRender(EditorPlayback::blockFrames);
    return unit.allocateRenderResources();
}

} // namespace

int runEditor(LoadedEffect& effect, const AudioClip& input, const EditorOptions& options,
              std::ostream& out, std::ostream& err) {
    auto controller = std::dynamic_pointer_cast<AUViewController>(effect.principal);
    if (!controller) {
        err << "emberfall: the extension's principal class has no editor\n";
        return exitEffectFailure;
    }
    const std::shared_ptr<NSView>& view = controller->view();
    const AUViewController::Size preferred = controller->preferredContentSize();
    auto window = make<NSWindow>(CGRect{0, 0, preferred.width, preferred.height});
    window->title = "Emberfall";
    window->setContentView(view);

    if (std::optional<AUError> failure = allocate(*effect.unit, input)) {
        err << "emberfall: cannot start the effect: " << failure->message << "\n";
        return exitEffectFailure;
    }
    EditorPlayback playback(*effect.unit, input);

    if (!options.pngPath.empty()) {
        controller->viewDidAppearOnScreen();
        // Half a second of the clip, so the meters show it.
        playback.renderFor(0.5);
        RunLoop::main().run(0.05);
        window->layoutIfNeeded();
        RunLoop::main().runUntilIdle();
        window->layoutIfNeeded();
        const bool written = Headless::writeWindowPNG(*window, options.pngPath, options.scale);
        effect.unit->deallocateRenderResources();
        if (!written) {
            err << "emberfall: cannot write '" << options.pngPath << "'\n";
            return exitInputFailure;
        }
        out << "wrote " << options.pngPath << " (" << preferred.width * options.scale << " x "
            << preferred.height * options.scale << ")\n";
        return exitOk;
    }

    std::string whyNot;
    std::unique_ptr<DisplayServer> server = DisplayServer::connect(&whyNot);
    if (!server) {
        effect.unit->deallocateRenderResources();
        err << "emberfall: no display to open the editor on (" << whyNot
            << "); draw it with --png FILE\n";
        return exitNoDisplay;
    }
    std::shared_ptr<DisplayWindow> shown = server->show(window, {.resizable = true});
    controller->viewDidAppearOnScreen();
    std::shared_ptr<PopupMenuPresenter> menus;
    if (auto host = SwiftUI::NSHostingView::firstIn(view))
        menus = PopupMenuPresenter::install(*server, shown, host);

    const EditorPlayback::Output output = playback.start();
    out << "emberfall " << effect.version << ": editor open, playing "
        << (output == EditorPlayback::Output::soundDevice ? "on the sound device"
                                                          : "to nowhere (no sound device)")
        << "\n"
        << std::flush;
    DisplayServer::RunOptions run;
    run.timeLimit = options.limit;
    server->run(run);
    playback.stop();
    effect.unit->deallocateRenderResources();
    return exitOk;
}
