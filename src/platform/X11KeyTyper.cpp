// Typing through XTest. Keys are looked up in the keyboard group that is
// active (a second layout may be locked on), and a character that the keymap
// cannot produce there with at most Shift is typed by binding its keysym to a
// spare keycode for the moment. The keys go to the window that was active
// when the caller remembered it, brought back to the front first.

#include "KeyTyper.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <QGuiApplication>
#include <thread>
#include <utility>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <X11/Xatom.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace platform {

namespace {

constexpr auto KeyGap = std::chrono::milliseconds(10);
// After a keymap change the server and the focused client need a moment.
constexpr auto RemapPause = std::chrono::milliseconds(40);

struct DisplayCloser
{
    void operator()(Display *d) const { XCloseDisplay(d); }
};

// How long a window brought back may take to show and to get the focus.
constexpr auto RaiseTimeout = std::chrono::milliseconds(2000);
constexpr auto RaisePoll = std::chrono::milliseconds(20);

// Notes the X errors of the requests made while it lives, instead of the
// default handler ending the program: a remembered window may be gone.
class ErrorTrap
{
public:
    explicit ErrorTrap(Display *display) : m_display(display)
    {
        XSync(m_display, False);
        s_failed = false;
        m_previous = XSetErrorHandler(&ErrorTrap::note);
    }
    ~ErrorTrap()
    {
        XSync(m_display, False);
        XSetErrorHandler(m_previous);
    }
    ErrorTrap(const ErrorTrap &) = delete;
    ErrorTrap &operator=(const ErrorTrap &) = delete;

    bool failed() const
    {
        XSync(m_display, False);
        return s_failed;
    }

private:
    static int note(Display *, XErrorEvent *)
    {
        s_failed = true;
        return 0;
    }

    static inline bool s_failed = false;
    Display *m_display;
    int (*m_previous)(Display *, XErrorEvent *) = nullptr;
};

// The window the user works in: the window manager's active window, or
// without one the window with the input focus; None when there is none.
Window activeWindow(Display *display)
{
    const Atom property = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    Window active = None;
    if (XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &after, &data) == Success &&
        data != nullptr) {
        if (type == XA_WINDOW && format == 32 && count == 1) {
            active = static_cast<Window>(*reinterpret_cast<unsigned long *>(data));
        }
        XFree(data);
    }
    if (active != None) {
        return active;
    }
    int revert = 0;
    XGetInputFocus(display, &active, &revert);
    return active == PointerRoot ? None : active;
}

// The child of the root window that holds the window: the window manager's
// frame around it, or the window itself.
Window topLevelOf(Display *display, Window window)
{
    Window current = window;
    for (;;) {
        Window root = None;
        Window parent = None;
        Window *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, current, &root, &parent, &children, &count) == 0) {
            return current;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root || parent == None) {
            return current;
        }
        current = parent;
    }
}

// Whether the window is the ancestor itself or lies inside it: a program may
// hand the focus on to a child of its window.
bool isWithin(Display *display, Window window, Window ancestor)
{
    Window current = window == PointerRoot ? None : window;
    while (current != None && current != ancestor) {
        Window root = None;
        Window parent = None;
        Window *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, current, &root, &parent, &children, &count) == 0) {
            return false;
        }
        if (children != nullptr) {
            XFree(children);
        }
        current = parent == root ? None : parent;
    }
    return current == ancestor && ancestor != None;
}

// Asks the window manager, if there is one, to restore and activate the
// window, as a taskbar does.
void requestActivation(Display *display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // from a tool acting for the user
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

template <typename Condition> bool waitFor(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + RaiseTimeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(RaisePoll);
    }
    return true;
}

struct KeymapFree
{
    void operator()(XkbDescPtr keymap) const { XkbFreeKeyboard(keymap, 0, True); }
};

// The group a key produces while the given group is active: a key with fewer
// groups brings it into range as its own settings say.
int effectiveGroup(unsigned char groupInfo, int groups, int active)
{
    if (active < groups) {
        return active;
    }
    switch (XkbOutOfRangeGroupAction(groupInfo)) {
    case XkbClampIntoRange:
        return groups - 1;
    case XkbRedirectIntoRange: {
        const int redirect = XkbOutOfRangeGroupNumber(groupInfo);
        return redirect < groups ? redirect : 0;
    }
    default:
        return active % groups;
    }
}

KeySym keysymOf(char32_t c)
{
    // Latin-1 keysyms equal their code points; the rest live at 0x01000000 + code.
    if ((c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<KeySym>(c);
    }
    return static_cast<KeySym>(0x01000000UL + c);
}

KeySym keysymOf(const KeyStroke &s)
{
    switch (s.named) {
    case KeyStroke::Named::Tab:
        return XK_Tab;
    case KeyStroke::Named::Enter:
        return XK_Return;
    case KeyStroke::Named::Escape:
        return XK_Escape;
    case KeyStroke::Named::Backspace:
        return XK_BackSpace;
    case KeyStroke::Named::Delete:
        return XK_Delete;
    case KeyStroke::Named::Insert:
        return XK_Insert;
    case KeyStroke::Named::Home:
        return XK_Home;
    case KeyStroke::Named::End:
        return XK_End;
    case KeyStroke::Named::PageUp:
        return XK_Page_Up;
    case KeyStroke::Named::PageDown:
        return XK_Page_Down;
    case KeyStroke::Named::Left:
        return XK_Left;
    case KeyStroke::Named::Right:
        return XK_Right;
    case KeyStroke::Named::Up:
        return XK_Up;
    case KeyStroke::Named::Down:
        return XK_Down;
    case KeyStroke::Named::F1:
        return static_cast<KeySym>(XK_F1 + s.function - 1);
    case KeyStroke::Named::Character:
        break;
    }
    return keysymOf(s.character);
}

class X11KeyTyper final : public KeyTyper
{
public:
    void rememberTarget() override
    {
        m_target.reset();
        const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
        if (display) {
            m_target = activeWindow(display.get());
        }
    }

    bool type(const QString &notation, QString &error) override
    {
        // One remembered window serves one typing.
        const std::optional<Window> target = std::exchange(m_target, std::nullopt);
        bool valid = false;
        QString problem;
        const QList<KeyStroke> keys = parseKeys(notation, &valid, &problem);
        if (!valid) {
            error = invalidNotationMessage(problem);
            return false;
        }
        const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
        if (!display) {
            error = QStringLiteral("Cannot reach the X display to type into other programs.");
            return false;
        }
        int event = 0;
        int errorBase = 0;
        int major = 0;
        int minor = 0;
        if (!XTestQueryExtension(display.get(), &event, &errorBase, &major, &minor)) {
            error =
                QStringLiteral("The X server does not offer typing into other programs (XTest).");
            return false;
        }
        const std::unique_ptr<XkbDescRec, KeymapFree> keymap(
            XkbGetMap(display.get(), XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd));
        if (!keymap) {
            error = QStringLiteral("Cannot read the keyboard layout to type into other programs.");
            return false;
        }
        if (target.has_value() && !bringForward(display.get(), *target)) {
            return false; // the window is gone: nothing to type into
        }
        m_display = display.get();
        m_keymap = keymap.get();
        for (const KeyStroke &key : keys) {
            typeOne(key);
        }
        XSync(m_display, False);
        m_keymap = nullptr;
        m_display = nullptr;
        return true;
    }

private:
    // Restores the window if it is minimised, raises it and gives it the
    // focus; false when it no longer exists or does not come back.
    static bool bringForward(Display *display, Window window)
    {
        if (window == None) {
            return false;
        }
        const ErrorTrap trap(display);
        const auto viewable = [display, window, &trap] {
            XWindowAttributes attributes{};
            return XGetWindowAttributes(display, window, &attributes) != 0 && !trap.failed() &&
                   attributes.map_state == IsViewable;
        };
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, window, &attributes) == 0 || trap.failed()) {
            return false;
        }
        if (attributes.map_state != IsViewable) {
            requestActivation(display, window);
            XMapRaised(display, window);
            if (!waitFor(viewable)) {
                return false;
            }
        }
        XRaiseWindow(display, topLevelOf(display, window));
        requestActivation(display, window);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        if (trap.failed()) {
            return false;
        }
        const bool focused = waitFor([display, window] {
            Window focus = None;
            int revert = 0;
            XGetInputFocus(display, &focus, &revert);
            return isWithin(display, focus, window);
        });
        // The program behind the window handles its focus before the keys.
        std::this_thread::sleep_for(RemapPause);
        return focused;
    }

    void tap(KeyCode code, bool press)
    {
        XTestFakeKeyEvent(m_display, code, press ? True : False, CurrentTime);
        XFlush(m_display);
    }

    void holdModifier(KeySym sym, bool press)
    {
        const KeyCode code = XKeysymToKeycode(m_display, sym);
        if (code != 0) {
            tap(code, press);
        }
    }

    // Keycode and whether Shift is needed, when a key has the keysym at level
    // 1 or 2 of what it produces while the group is active.
    bool findKey(KeySym sym, int group, KeyCode &code, bool &shift) const
    {
        const XkbDescPtr xkb = m_keymap;
        for (int k = xkb->min_key_code; k <= xkb->max_key_code; ++k) {
            const int groups = XkbKeyNumGroups(xkb, k);
            if (groups == 0) {
                continue;
            }
            const int keyGroup = effectiveGroup(XkbKeyGroupInfo(xkb, k), groups, group);
            const int levels = std::min<int>(XkbKeyGroupWidth(xkb, k, keyGroup), 2);
            for (int level = 0; level < levels; ++level) {
                if (XkbKeySymEntry(xkb, k, level, keyGroup) == sym) {
                    code = static_cast<KeyCode>(k);
                    shift = level == 1;
                    return true;
                }
            }
        }
        return false;
    }

    // A keycode that the keymap leaves empty, to lend to a keysym.
    KeyCode spareKeycode()
    {
        int minCode = 0;
        int maxCode = 0;
        XDisplayKeycodes(m_display, &minCode, &maxCode);
        int perCode = 0;
        KeySym *map = XGetKeyboardMapping(m_display, static_cast<KeyCode>(minCode),
                                          maxCode - minCode + 1, &perCode);
        KeyCode spare = 0;
        for (int k = maxCode; k >= minCode && spare == 0; --k) {
            bool empty = true;
            for (int i = 0; i < perCode; ++i) {
                if (map[(k - minCode) * perCode + i] != NoSymbol) {
                    empty = false;
                    break;
                }
            }
            if (empty) {
                spare = static_cast<KeyCode>(k);
            }
        }
        XFree(map);
        return spare;
    }

    void typeOne(const KeyStroke &key)
    {
        const KeySym sym = keysymOf(key);
        KeyCode code = 0;
        bool shift = false;
        KeyCode borrowed = 0;
        XkbStateRec state{};
        XkbGetState(m_display, XkbUseCoreKbd, &state);
        if (!findKey(sym, state.group, code, shift)) {
            borrowed = spareKeycode();
            if (borrowed == 0) {
                return; // nothing left to bind to: the character cannot be typed
            }
            KeySym syms[2] = {sym, sym};
            XChangeKeyboardMapping(m_display, borrowed, 2, syms, 1);
            XSync(m_display, False);
            std::this_thread::sleep_for(RemapPause);
            code = borrowed;
            shift = false;
        } else if (key.named == KeyStroke::Named::Character &&
                   (state.locked_mods & LockMask) != 0) {
            // Caps Lock inverts the case of letters: undo it with Shift.
            const QString text = QString::fromUcs4(&key.character, 1);
            if (text.toUpper() != text.toLower()) {
                shift = !shift;
            }
        }
        const bool withShift = shift || key.shift;
        if (key.control) {
            holdModifier(XK_Control_L, true);
        }
        if (key.alt) {
            holdModifier(XK_Alt_L, true);
        }
        if (withShift) {
            holdModifier(XK_Shift_L, true);
        }
        tap(code, true);
        tap(code, false);
        if (withShift) {
            holdModifier(XK_Shift_L, false);
        }
        if (key.alt) {
            holdModifier(XK_Alt_L, false);
        }
        if (key.control) {
            holdModifier(XK_Control_L, false);
        }
        if (borrowed != 0) {
            XSync(m_display, False);
            std::this_thread::sleep_for(RemapPause);
            KeySym none[2] = {NoSymbol, NoSymbol};
            XChangeKeyboardMapping(m_display, borrowed, 2, none, 1);
            XSync(m_display, False);
        }
        std::this_thread::sleep_for(KeyGap);
    }

    Display *m_display = nullptr;
    XkbDescPtr m_keymap = nullptr;
    std::optional<Window> m_target;
};

class RefusingKeyTyper final : public KeyTyper
{
public:
    bool type(const QString &, QString &error) override
    {
        error = QStringLiteral("This desktop session (Wayland) does not let programs type into "
                               "other programs. Copy the password and paste it instead.");
        return false;
    }
};

} // namespace

std::unique_ptr<KeyTyper> makeSystemKeyTyper()
{
    const QString platformName = QGuiApplication::platformName();
    if (platformName.startsWith(QLatin1String("wayland")) ||
        (qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") &&
         qEnvironmentVariableIsEmpty("DISPLAY"))) {
        return std::make_unique<RefusingKeyTyper>();
    }
    return std::make_unique<X11KeyTyper>();
}

} // namespace platform
