#pragma once
// The program's pictures, drawn at run time so they stay sharp at any screen
// scale: the application icon, the toolbar icons, the start-screen button
// pictures, the instrument tree's icon and the start-up splash.
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace acv {

inline constexpr int kSplashWidth = 520;
inline constexpr int kSplashHeight = 317;
inline constexpr int kPanelButtonWidth = 220;
inline constexpr int kPanelButtonHeight = 77;

// A logger in front of a sine wave.
QIcon AppIcon();
// The toolbar icon of a command id; a null icon for commands without one.
QIcon CommandIcon(int commandId);
// A start-screen button picture: a symbol for the command and its text.
QPixmap PanelButtonPicture(int commandId, const QString& text, bool pressed = false);
// The small logger of the instrument tree, 28 x 50.
QPixmap InstrumentTreePicture();
QPixmap SplashPicture();

}  // namespace acv
