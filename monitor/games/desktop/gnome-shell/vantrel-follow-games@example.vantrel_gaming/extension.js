// Tells vantrel-monitor the focused window (process id, WM_CLASS or Wayland
// app_id, and instance) at every focus change, and when the monitor starts.
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';

const MONITOR = 'example.vantrel_gaming.GamingKeyboard.Monitor';
const PATH = '/example/vantrel_gaming/GamingKeyboard/Monitor';

export default class FollowGamesExtension extends Extension {
    enable() {
        this._focus = global.display.connect('notify::focus-window', () => this._report());
        this._watch = Gio.bus_watch_name(Gio.BusType.SESSION, MONITOR,
            Gio.BusNameWatcherFlags.NONE, () => this._report(), null);
    }

    disable() {
        global.display.disconnect(this._focus);
        Gio.bus_unwatch_name(this._watch);
        this._focus = null;
        this._watch = null;
    }

    _report() {
        const window = global.display.focus_window;
        const args = new GLib.Variant('(sss)', [
            window ? String(window.get_pid()) : '0',
            window?.get_wm_class() ?? '',
            window?.get_wm_class_instance() ?? '',
        ]);
        // Nobody may answer: the monitor need not run.
        Gio.DBus.session.call(MONITOR, PATH, MONITOR, 'ActiveWindow', args, null,
            Gio.DBusCallFlags.NO_AUTO_START, 1000, null, null);
    }
}
