// mapwatch: starts a program and reports how long it takes until a given
// number of its windows are viewable on the X display. Used by bench/run.sh
// to time the start-up of notes programs from the outside, the same way for
// each of them, with or without a window manager. Talks to the X server with
// xcb and asks for every top-level window's state in one batch per poll, so a
// poll of 1000 windows stays short.
//
// mapwatch (--name TITLE | --class CLASS) --count N [--timeout S] -- PROGRAM ARGS...
// prints "PID SECONDS" on success (the program is left running), exit 1 on
// timeout (the program is left running too; the caller ends it).
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Options
{
    std::string name;
    std::string wmClass;
    int count = 0;
    double timeout = 120;
    char **command = nullptr;
};

[[noreturn]] void usage()
{
    std::fputs("usage: mapwatch (--name TITLE | --class CLASS) --count N [--timeout S] -- "
               "PROGRAM ARGS...\n",
               stderr);
    std::exit(2);
}

Options parse(int argc, char **argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--" && i + 1 < argc) {
            o.command = argv + i + 1;
            break;
        }
        if (i + 1 >= argc)
            usage();
        if (arg == "--name")
            o.name = argv[++i];
        else if (arg == "--class")
            o.wmClass = argv[++i];
        else if (arg == "--count")
            o.count = std::atoi(argv[++i]);
        else if (arg == "--timeout")
            o.timeout = std::atof(argv[++i]);
        else
            usage();
    }
    if (!o.command || o.count <= 0 || o.name.empty() == o.wmClass.empty())
        usage();
    return o;
}

// WM_CLASS holds "instance\0Class\0": either part may match.
bool propertyMatches(xcb_get_property_reply_t *reply, const Options &o)
{
    const auto *value = static_cast<const char *>(xcb_get_property_value(reply));
    const std::string text(value, size_t(xcb_get_property_value_length(reply)));
    if (!o.name.empty())
        return text == o.name;
    const size_t split = text.find('\0');
    const std::string instance = text.substr(0, split);
    const std::string cls = split == std::string::npos ? std::string() : text.substr(split + 1);
    return instance == o.wmClass || cls.substr(0, cls.find('\0')) == o.wmClass;
}

// The top-level windows: those the window manager manages
// (_NET_CLIENT_LIST; it reparents them into frames at a depth that differs
// between managers), or without a window manager the root's children.
std::vector<xcb_window_t> topLevelWindows(xcb_connection_t *c, xcb_window_t root)
{
    static const char name[] = "_NET_CLIENT_LIST";
    xcb_intern_atom_reply_t *atom
        = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    std::vector<xcb_window_t> result;
    xcb_get_property_reply_t *list = xcb_get_property_reply(
        c,
        xcb_get_property(c, 0, root, atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE), XCB_ATOM_WINDOW,
                         0, 1 << 20),
        nullptr);
    std::free(atom);
    if (list && list->type == XCB_ATOM_WINDOW) {
        const auto *windows = static_cast<const xcb_window_t *>(xcb_get_property_value(list));
        result.assign(windows, windows + xcb_get_property_value_length(list) / 4);
    } else if (xcb_query_tree_reply_t *tree
               = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr)) {
        const xcb_window_t *children = xcb_query_tree_children(tree);
        result.assign(children, children + xcb_query_tree_children_length(tree));
        std::free(tree);
    }
    std::free(list);
    return result;
}

int countViewable(xcb_connection_t *c, xcb_window_t root, const Options &o)
{
    const std::vector<xcb_window_t> windows = topLevelWindows(c, root);
    const xcb_atom_t property = o.name.empty() ? XCB_ATOM_WM_CLASS : XCB_ATOM_WM_NAME;
    std::vector<xcb_get_property_cookie_t> props;
    std::vector<xcb_get_window_attributes_cookie_t> attrs;
    for (xcb_window_t w : windows) {
        props.push_back(xcb_get_property(c, 0, w, property, XCB_ATOM_STRING, 0, 256));
        attrs.push_back(xcb_get_window_attributes(c, w));
    }
    int viewable = 0;
    for (size_t i = 0; i < windows.size(); ++i) {
        xcb_get_property_reply_t *prop = xcb_get_property_reply(c, props[i], nullptr);
        xcb_get_window_attributes_reply_t *attr
            = xcb_get_window_attributes_reply(c, attrs[i], nullptr);
        if (prop && attr && attr->map_state == XCB_MAP_STATE_VIEWABLE && propertyMatches(prop, o))
            ++viewable;
        std::free(prop);
        std::free(attr);
    }
    return viewable;
}

} // namespace

int main(int argc, char **argv)
{
    const Options o = parse(argc, argv);
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fputs("mapwatch: cannot open the display\n", stderr);
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        // The program outlives this watcher: it must not hold the caller's
        // output pipes open.
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        execvp(o.command[0], o.command);
        _exit(127);
    }
    for (;;) {
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        if (countViewable(c, root, o) >= o.count) {
            std::printf("%d %.3f\n", int(pid), elapsed);
            break;
        }
        if (elapsed > o.timeout) {
            std::printf("%d timeout\n", int(pid));
            xcb_disconnect(c);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    xcb_disconnect(c);
    return 0;
}
