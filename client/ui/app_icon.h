// The programs' own icons for desktop menus, drawn from the card artwork.
// Needs a QGuiApplication.
#pragma once

#include <QImage>

namespace quarn::client {

enum class AppIconKind {
  Game,    // Quarn: a fan of cards under the landlord's hat
  Server,  // QuarnServer: the same fan with the console's green running light
};

// A square icon of `size` pixels with a transparent background.
QImage AppIcon(AppIconKind kind, int size);

}  // namespace quarn::client
