#include "PopupChain.h"

#include "NativeSurface.h"

std::shared_ptr<PopupWindow> PopupChain::openMenu(PopupWindow::Options options) {
    if (!levels.empty())
        dismiss();
    closeAll();
    SDL_Window* focus = SDL_GetKeyboardFocus();
    ownerWindow = focus ? SDL_GetWindowID(focus) : 0;
    levels.emplace_back(new PopupWindow(std::move(options), scale));
    keyLevel = 0;
    return levels.back();
}

std::shared_ptr<PopupWindow> PopupChain::openSubmenu(const PopupWindow& parent, int item,
                                                     PopupWindow::Options options) {
    for (size_t level = 0; level < levels.size(); ++level) {
        if (levels[level].get() != &parent || !parent.isOpen())
            continue;
        closeInside(level);
        std::shared_ptr<PopupWindow> submenu(new PopupWindow(std::move(options), scale));
        submenu->parentItem = item;
        levels.push_back(submenu);
        // The row it came from stays marked while the pointer travels into it.
        levels[level]->setHighlight(item);
        return submenu;
    }
    return nullptr;
}

std::shared_ptr<PopupWindow> PopupChain::innermost() const {
    for (auto it = levels.rbegin(); it != levels.rend(); ++it)
        if ((*it)->isOpen())
            return *it;
    return nullptr;
}

bool PopupChain::owns(unsigned windowId) const {
    for (const auto& popup : levels)
        if (windowId != 0 && popup->id() == windowId)
            return true;
    return false;
}

void PopupChain::closeLast() {
    std::shared_ptr<PopupWindow> last = levels.back();
    levels.pop_back();
    SDL_Window* focus = SDL_GetKeyboardFocus();
    const bool hadKeyboard = focus && SDL_GetWindowID(focus) == last->id();
    last->close();
    if (!hadKeyboard)
        return;
    SDL_Window* next = nullptr;
    for (auto it = levels.rbegin(); it != levels.rend() && !next; ++it)
        if ((*it)->isOpen())
            next = SDL_GetWindowFromID((*it)->id());
    if (!next && ownerWindow != 0)
        next = SDL_GetWindowFromID(ownerWindow);
    if (next)
        SDL_SetWindowInputFocus(next);
}

void PopupChain::closeInside(size_t level) {
    while (levels.size() > level + 1)
        closeLast();
    if (keyLevel > level)
        keyLevel = level;
}

void PopupChain::closeAll() {
    while (!levels.empty())
        closeLast();
    keyLevel = 0;
}

void PopupChain::dismiss() {
    if (!levels.empty())
        levels.front()->finish(std::nullopt);
}

void PopupChain::settle() {
    for (const auto& popup : levels)
        if (!popup->isOpen()) {
            // The finished pop-up may have taken the keyboard with it.
            const bool keyboardGone = SDL_GetKeyboardFocus() == nullptr;
            closeAll();
            if (SDL_Window* owner = ownerWindow ? SDL_GetWindowFromID(ownerWindow) : nullptr;
                owner && keyboardGone)
                SDL_SetWindowInputFocus(owner);
            return;
        }
}

int PopupChain::levelAt(CGPoint screen) const {
    for (int level = int(levels.size()) - 1; level >= 0; --level)
        if (levels[size_t(level)]->contains(screen))
            return level;
    return -1;
}

void PopupChain::openFrom(size_t level, int item, bool byKeys) {
    std::shared_ptr<PopupWindow> parent = levels[level];
    const bool open = levels.size() > level + 1 && levels[level + 1]->parentItem == item;
    if (!open && parent->options.openSubmenu) {
        closeInside(level);
        parent->options.openSubmenu(item);
    }
    if (byKeys && levels.size() > level + 1 && levels[level + 1]->parentItem == item) {
        keyLevel = level + 1;
        levels[keyLevel]->step(+1);
    }
}

void PopupChain::key(int sdlKey) {
    if (levels.empty())
        return;
    keyLevel = std::min(keyLevel, levels.size() - 1);
    const size_t level = keyLevel;
    std::shared_ptr<PopupWindow> popup = levels[level];
    switch (sdlKey) {
    case SDLK_UP:
    case SDLK_DOWN:
        if (popup->step(sdlKey == SDLK_DOWN ? 1 : -1))
            closeInside(level);
        return;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_SPACE:
    case SDLK_RIGHT: {
        const int item = popup->highlighted();
        if (popup->opensSubmenu(item))
            openFrom(level, item, true);
        else if (sdlKey != SDLK_RIGHT && popup->enabled(item))
            popup->finish(item);
        return;
    }
    case SDLK_LEFT:
        if (level > 0) {
            closeInside(level - 1);
            keyLevel = level - 1;
        }
        return;
    case SDLK_ESCAPE:
        if (levels.size() > 1)
            closeInside(levels.size() - 2);
        else
            dismiss();
        return;
    default:
        return;
    }
}

void PopupChain::mouse(const SDL_Event& event, CGPoint screen) {
    if (levels.empty())
        return;
    const int at = levelAt(screen);
    std::shared_ptr<PopupWindow> popup = at >= 0 ? levels[size_t(at)] : nullptr;
    const int item = popup ? popup->itemAtScreen(screen) : -1;
    switch (event.type) {
    case SDL_MOUSEMOTION:
        if (!popup) {
            // Out of every pop-up: a submenu keeps its parent's row; the innermost
            // pop-up lets go of its highlight.
            levels.back()->setHighlight(-1);
            return;
        }
        keyLevel = size_t(at);
        popup->setHighlight(item);
        if (item >= 0 && (event.motion.state & SDL_BUTTON_LMASK))
            popup->draggedOntoItem = true;
        if (popup->opensSubmenu(item))
            openFrom(size_t(at), item, false);
        else
            closeInside(size_t(at));
        return;
    case SDL_MOUSEBUTTONDOWN:
        if (!popup) {
            dismiss();
            return;
        }
        popup->pressedInside = true;
        popup->setHighlight(item);
        return;
    case SDL_MOUSEBUTTONUP: {
        // The release of the press that opened the menu chooses only when the pointer
        // was dragged onto an item; a click inside chooses what it is on.
        const bool chooses = popup && item >= 0 && (popup->pressedInside || popup->draggedOntoItem);
        for (const auto& p : levels)
            p->pressedInside = false;
        if (!chooses)
            return;
        popup->setHighlight(item);
        if (popup->opensSubmenu(item))
            openFrom(size_t(at), item, false);
        else
            popup->finish(item);
        return;
    }
    default:
        return;
    }
}

void PopupChain::windowEvent(const SDL_WindowEvent& event) {
    for (const auto& popup : levels)
        if (popup->id() == event.windowID) {
            if (event.event == SDL_WINDOWEVENT_EXPOSED)
                popup->redraw();
            else if (event.event == SDL_WINDOWEVENT_CLOSE)
                dismiss();
            return;
        }
}
