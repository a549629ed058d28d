#pragma once

#include <functional>

class QMenu;
class QWidget;

// Scripts the windows that run their own event loop (modal windows, pop-up
// menus): the action runs on the window as soon as it is shown. If the window
// never appears, the pending script is dropped after `timeoutMs`.
void whenModalShown(std::function<void(QWidget*)> action, int timeoutMs = 5000);
void whenPopupShown(std::function<void(QMenu*)> action, int timeoutMs = 5000);
