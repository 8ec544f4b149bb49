#pragma once

// On a Wayland compositor that draws title bars for its clients
// (xdg-decoration), tells Qt not to prepare drawing its own. Qt asks its
// OpenGL buffer integration whether it could, which sets up EGL: with
// Mesa's software renderer that maps LLVM, some 50 MiB, into a window that
// draws with the CPU alone and has the compositor's title bar anyway.
// Before the QApplication; does nothing where the person chose otherwise,
// or where no compositor answers.
void leaveDecorationsToCompositor();
