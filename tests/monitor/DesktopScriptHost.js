// Runs the monitor's KWin script or GNOME Shell extension under node as
// KWin 5 or 6, or GNOME Shell 43 or 45, runs it: the focused window changes
// at each line read from standard input, and the D-Bus calls go through
// busctl on the session bus, which takes strings only (KWin 5 and 6 would
// pass numbers as different D-Bus types).
// Usage: node DesktopScriptHost.js kwin5|kwin6|gnome43|gnome45 FILE WINDOW...
// WINDOW: pid:class:instance, or - for none.
'use strict';
const fs = require('fs');
const readline = require('readline');
const {execFileSync} = require('child_process');

const [kind, file, ...windows] = process.argv.slice(2);
const call = (service, path, iface, method, args) => {
    if (args.some((arg) => typeof arg !== 'string'))
        throw new Error('a D-Bus argument that is no string: ' + JSON.stringify(args));
    execFileSync('busctl', ['--user', 'call', service, path, iface, method,
                            's'.repeat(args.length), ...args]);
};
const parse = (text) => {
    if (text === '-')
        return null;
    const [pid, resourceClass, resourceName] = text.split(':');
    return {pid: Number(pid), resourceClass, resourceName, get_pid: () => Number(pid),
            get_wm_class: () => resourceClass, get_wm_class_instance: () => resourceName};
};
let active = parse(windows.shift());
const slots = [];
let code = fs.readFileSync(file, 'utf8');

if (kind.startsWith('kwin')) {
    const activated = {connect: (slot) => slots.push(() => slot(active))};
    const workspace = kind === 'kwin6' ? {windowActivated: activated} : {clientActivated: activated};
    Object.defineProperty(workspace, kind === 'kwin6' ? 'activeWindow' : 'activeClient',
                          {get: () => active});
    const callDBus = (service, path, iface, method, ...args) =>
        call(service, path, iface, method, args);
    new Function('workspace', 'callDBus', code)(workspace, callDBus);
} else {
    const Gio = {
        BusType: {}, BusNameWatcherFlags: {}, DBusCallFlags: {},
        bus_watch_name: (type, name, flags, appeared) => setImmediate(appeared),
        DBus: {session: {call: (s, p, i, m, variant) => call(s, p, i, m, variant.values)}},
    };
    const GLib = {Variant: function(signature, values) { this.values = values; }};
    global.global = {display: {
        connect: (signal, slot) => slots.push(slot),
        get focus_window() { return active; },
    }};
    // GNOME 45 loads a module: its imports become arguments.
    code = code.replace(/^import .*$/gm, '').replace('export default class', 'return class');
    const made = kind === 'gnome45'
        ? new (new Function('Gio', 'GLib', 'Extension', code)(Gio, GLib, class {}))()
        : new Function('imports', code + '\nreturn init();')({gi: {Gio, GLib}});
    made.enable();
}
readline.createInterface({input: process.stdin}).on('line', () => {
    active = parse(windows.shift());
    slots.forEach((slot) => slot());
});
