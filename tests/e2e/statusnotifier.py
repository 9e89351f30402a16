"""A tray as KDE Plasma and GNOME's AppIndicator extension offer it: a
StatusNotifierWatcher on the session bus with a host registered, and the
calls a panel makes on the items that register: read their properties,
activate them, read and click their menus (com.canonical.dbusmenu).

    statusnotifier.py watch    runs the watcher until it is ended

Programs take the bus from DBUS_SESSION_BUS_ADDRESS, which the desktop
points at a private bus of its own.
"""
import os
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

WATCHER_NAME = "org.kde.StatusNotifierWatcher"
WATCHER_PATH = "/StatusNotifierWatcher"
ITEM_INTERFACE = "org.kde.StatusNotifierItem"
MENU_INTERFACE = "com.canonical.dbusmenu"
PROPERTIES = "org.freedesktop.DBus.Properties"

WATCHER_XML = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem">
      <arg name="service" type="s" direction="in"/>
    </method>
    <method name="RegisterStatusNotifierHost">
      <arg name="service" type="s" direction="in"/>
    </method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
</node>
"""


class Watcher:
    """Keeps the list of registered items, each as "BUS-NAME/OBJECT-PATH",
    and drops an item when its program leaves the bus."""

    def __init__(self, connection):
        self.connection = connection
        self.items = []
        self.hosts = []
        self._watches = {}
        interface = Gio.DBusNodeInfo.new_for_xml(WATCHER_XML).interfaces[0]
        connection.register_object(WATCHER_PATH, interface, self._call, self._property, None)

    def _emit(self, signal, *args):
        parameters = GLib.Variant("(s)", args) if args else None
        self.connection.emit_signal(None, WATCHER_PATH, WATCHER_NAME, signal, parameters)

    def _call(self, connection, sender, path, interface, method, parameters, invocation):
        (service,) = parameters.unpack()
        if method == "RegisterStatusNotifierHost":
            self.hosts.append(service)
            self._emit("StatusNotifierHostRegistered")
        else:
            # The item names its bus name, or only its object path on the
            # caller's connection.
            if service.startswith("/"):
                bus_name, item_path = sender, service
            else:
                bus_name, item_path = service, "/StatusNotifierItem"
            item = bus_name + item_path
            if item not in self.items:
                self.items.append(item)
                self._watches[item] = Gio.bus_watch_name_on_connection(
                    connection, bus_name, Gio.BusNameWatcherFlags.NONE, None,
                    lambda *_: self._drop(item))
                self._emit("StatusNotifierItemRegistered", item)
        invocation.return_value(None)

    def _drop(self, item):
        if item in self.items:
            self.items.remove(item)
            Gio.bus_unwatch_name(self._watches.pop(item))
            self._emit("StatusNotifierItemUnregistered", item)

    def _property(self, connection, sender, path, interface, name):
        if name == "RegisteredStatusNotifierItems":
            return GLib.Variant("as", self.items)
        if name == "IsStatusNotifierHostRegistered":
            return GLib.Variant("b", bool(self.hosts))
        return GLib.Variant("i", 0)


def watch():
    """Owns the watcher's name and registers one host, as a panel does."""
    connection = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    watcher = Watcher(connection)
    loop = GLib.MainLoop()
    host = "org.kde.StatusNotifierHost-%d" % os.getpid()
    for name in (WATCHER_NAME, host):
        Gio.bus_own_name_on_connection(connection, name, Gio.BusNameOwnerFlags.NONE,
                                       None, lambda *_: loop.quit())
    watcher.hosts.append(host)
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, 15, loop.quit)
    loop.run()


class Panel:
    """What a panel asks of the watcher and of one registered item."""

    def __init__(self, bus_address):
        flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
                 | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
        self.connection = Gio.DBusConnection.new_for_address_sync(bus_address, flags, None, None)

    def _call(self, name, path, interface, method, signature=None, *args, reply=None):
        parameters = GLib.Variant(signature, args) if signature else None
        result = self.connection.call_sync(
            name, path, interface, method, parameters,
            GLib.VariantType.new(reply) if reply else None,
            Gio.DBusCallFlags.NONE, 10000, None)
        return result.unpack() if result is not None else None

    def _get(self, name, path, interface, prop):
        return self._call(name, path, PROPERTIES, "Get", "(ss)", interface, prop,
                          reply="(v)")[0]

    def watcher_running(self):
        try:
            return self._get(WATCHER_NAME, WATCHER_PATH, WATCHER_NAME,
                             "IsStatusNotifierHostRegistered")
        except GLib.Error:
            return False

    def items(self):
        return self._get(WATCHER_NAME, WATCHER_PATH, WATCHER_NAME,
                         "RegisteredStatusNotifierItems")

    @staticmethod
    def _split(item):
        slash = item.index("/")
        return item[:slash], item[slash:]

    def item_property(self, item, prop):
        name, path = self._split(item)
        return self._get(name, path, ITEM_INTERFACE, prop)

    def activate(self, item, x=10, y=10):
        """A left click on the item's icon."""
        name, path = self._split(item)
        self._call(name, path, ITEM_INTERFACE, "Activate", "(ii)", x, y)

    def menu(self, item):
        """The item's menu as [(id, label, [children])], separators left out;
        labels without their mnemonic marks."""
        name, _ = self._split(item)
        menu_path = self.item_property(item, "Menu")
        _, layout = self._call(name, menu_path, MENU_INTERFACE, "GetLayout", "(iias)",
                               0, -1, [], reply="(u(ia{sv}av))")

        def entries(children):
            found = []
            for menu_id, props, sub in children:
                if props.get("type") == "separator" or not props.get("visible", True):
                    continue
                label = props.get("label", "").replace("_", "")
                found.append((menu_id, label, entries(sub)))
            return found

        return entries(layout[2])

    def click(self, item, menu_id):
        """A click on one entry of the item's menu."""
        name, _ = self._split(item)
        menu_path = self.item_property(item, "Menu")
        self._call(name, menu_path, MENU_INTERFACE, "Event", "(isvu)",
                   menu_id, "clicked", GLib.Variant("s", ""), 0)


if __name__ == "__main__":
    if sys.argv[1:] != ["watch"]:
        sys.exit("usage: statusnotifier.py watch")
    watch()
