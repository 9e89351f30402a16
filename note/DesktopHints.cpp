#include "note/DesktopHints.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace note {
namespace {

// The three atoms of the hint, asked for together: one round trip to the
// X server, not one per atom.
struct HintAtoms
{
    xcb_atom_t state = XCB_ATOM_NONE;
    xcb_atom_t skipTaskbar = XCB_ATOM_NONE;
    xcb_atom_t skipPager = XCB_ATOM_NONE;
};

HintAtoms internHintAtoms(xcb_connection_t *connection)
{
    const char *names[]
        = {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"};
    xcb_intern_atom_cookie_t cookies[3];
    for (int i = 0; i < 3; ++i)
        cookies[i] = xcb_intern_atom(connection, 0, uint16_t(std::strlen(names[i])), names[i]);
    xcb_atom_t atoms[3] = {XCB_ATOM_NONE, XCB_ATOM_NONE, XCB_ATOM_NONE};
    for (int i = 0; i < 3; ++i) {
        if (xcb_intern_atom_reply_t *reply
            = xcb_intern_atom_reply(connection, cookies[i], nullptr)) {
            atoms[i] = reply->atom;
            std::free(reply);
        }
    }
    return {atoms[0], atoms[1], atoms[2]};
}

// Atoms live as long as the X server; every note window asks for the same.
const HintAtoms &hintAtoms(xcb_connection_t *connection)
{
    static xcb_connection_t *known = nullptr;
    static HintAtoms atoms;
    if (connection != known || atoms.state == XCB_ATOM_NONE) {
        atoms = internHintAtoms(connection);
        known = connection;
    }
    return atoms;
}

std::vector<xcb_atom_t> atomList(xcb_connection_t *connection, xcb_window_t window,
                                 xcb_atom_t property)
{
    std::vector<xcb_atom_t> atoms;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, 1024),
        nullptr);
    if (!reply)
        return atoms;
    if (reply->type == XCB_ATOM_ATOM && reply->format == 32) {
        const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        atoms.assign(data, data + xcb_get_property_value_length(reply) / sizeof(xcb_atom_t));
    }
    std::free(reply);
    return atoms;
}

xcb_connection_t *x11Connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    // A broken connection (the X server has gone) answers nothing.
    return connection && !xcb_connection_has_error(connection) ? connection : nullptr;
}

} // namespace

void keepOffTaskbarAndPager(QWidget &window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    const auto id = xcb_window_t(window.winId());
    const HintAtoms &hint = hintAtoms(connection);
    if (hint.state == XCB_ATOM_NONE)
        return;
    const xcb_atom_t state = hint.state;
    std::vector<xcb_atom_t> atoms = atomList(connection, id, state);
    for (const xcb_atom_t atom : {hint.skipTaskbar, hint.skipPager}) {
        if (atom != XCB_ATOM_NONE && std::find(atoms.begin(), atoms.end(), atom) == atoms.end())
            atoms.push_back(atom);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        uint32_t(atoms.size()), atoms.data());
    xcb_flush(connection);
}

std::optional<QPoint> placeOnScreen(const QWidget &window)
{
    xcb_connection_t *connection = x11Connection();
    const QWindow *handle = window.windowHandle();
    if (!connection || !handle || !handle->handle() || !window.isVisible())
        return std::nullopt;
    const auto id = xcb_window_t(window.winId());
    const xcb_get_window_attributes_cookie_t attributes = xcb_get_window_attributes(connection, id);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_translate_coordinates_cookie_t translated
        = xcb_translate_coordinates(connection, id, root, 0, 0);
    xcb_get_window_attributes_reply_t *state
        = xcb_get_window_attributes_reply(connection, attributes, nullptr);
    xcb_translate_coordinates_reply_t *place
        = xcb_translate_coordinates_reply(connection, translated, nullptr);
    std::optional<QPoint> result;
    if (state && place && state->map_state == XCB_MAP_STATE_VIEWABLE) {
        const qreal ratio = handle->devicePixelRatio();
        result = QPoint(qRound(place->dst_x / ratio), qRound(place->dst_y / ratio));
    }
    std::free(state);
    std::free(place);
    return result;
}

} // namespace note
