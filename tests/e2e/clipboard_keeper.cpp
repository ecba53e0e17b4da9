// A clipboard manager cut down to what a program meets when it ends: owning
// the clipboard, it asks the manager to keep the content (SAVE_TARGETS on the
// CLIPBOARD_MANAGER selection) and waits while the manager fetches it. This
// one keeps the text, prints "kept " and its bytes in hex, then serves it as
// the clipboard's owner, as a real manager does. Prints "ready" once it is
// the manager.

#include <cstdio>
#include <string>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

struct Atoms
{
    Atom manager, clipboard, saveTargets, targets, utf8, kept;
};

std::string hex(const std::string &text)
{
    std::string out;
    char byte[3];
    for (const char c : text) {
        std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(c));
        out += byte;
    }
    return out;
}

Bool isSelectionNotify(Display *, XEvent *event, XPointer)
{
    return event->type == SelectionNotify ? True : False;
}

// The clipboard's text as its owner gives it; empty when it offers none.
std::string fetchText(Display *display, Window window, const Atoms &a, Time time)
{
    XConvertSelection(display, a.clipboard, a.utf8, a.kept, window, time);
    XEvent event;
    XIfEvent(display, &event, isSelectionNotify, nullptr);
    if (event.xselection.property == None) {
        return {};
    }
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    XGetWindowProperty(display, window, a.kept, 0, 1L << 20, True, AnyPropertyType, &type, &format,
                       &count, &after, &data);
    std::string text(reinterpret_cast<const char *>(data), data != nullptr ? count : 0);
    XFree(data);
    return text;
}

void answer(Display *display, const XSelectionRequestEvent &request, Atom property)
{
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.property = property;
    reply.xselection.time = request.time;
    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
    XFlush(display);
}

} // namespace

int main()
{
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "clipboard_keeper: no display\n");
        return 1;
    }
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Atoms a{XInternAtom(display, "CLIPBOARD_MANAGER", False),
                  XInternAtom(display, "CLIPBOARD", False),
                  XInternAtom(display, "SAVE_TARGETS", False),
                  XInternAtom(display, "TARGETS", False),
                  XInternAtom(display, "UTF8_STRING", False),
                  XInternAtom(display, "VELLUMOR_KEPT", False)};
    XSetSelectionOwner(display, a.manager, window, CurrentTime);
    if (XGetSelectionOwner(display, a.manager) != window) {
        std::fprintf(stderr, "clipboard_keeper: another manager runs\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    std::string kept;
    bool owner = false;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionClear && event.xselectionclear.selection == a.clipboard) {
            owner = false;
        }
        if (event.type != SelectionRequest) {
            continue;
        }
        const XSelectionRequestEvent &request = event.xselectionrequest;
        // Clients older than ICCCM 2 name no property: the target is used.
        const Atom property = request.property != None ? request.property : request.target;
        if (request.selection == a.manager && request.target == a.saveTargets) {
            kept = fetchText(display, window, a, request.time);
            std::printf("kept %s\n", hex(kept).c_str());
            std::fflush(stdout);
            XSetSelectionOwner(display, a.clipboard, window, CurrentTime);
            owner = true;
            answer(display, request, property);
        } else if (owner && request.selection == a.clipboard && request.target == a.targets) {
            const Atom offered[] = {a.targets, a.utf8, XA_STRING};
            XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(offered), 3);
            answer(display, request, property);
        } else if (owner && request.selection == a.clipboard &&
                   (request.target == a.utf8 || request.target == XA_STRING)) {
            XChangeProperty(display, request.requestor, property, request.target, 8,
                            PropModeReplace, reinterpret_cast<const unsigned char *>(kept.data()),
                            static_cast<int>(kept.size()));
            answer(display, request, property);
        } else {
            answer(display, request, None);
        }
    }
}
