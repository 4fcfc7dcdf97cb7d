// The D-Bus object through which Framewright reaches the windows of GNOME Shell: the monitors, the window list
// (topmost first), placing a window, the active window, and a signal when windows appear, vanish or are retitled.
// Replies are JSON texts; the program checks every field. This file is the body shared by both module styles: the
// build puts it between the imports and the extension class of extension.js (43-44: legacy imports, 45+: ES modules),
// which provide Gio, GLib, Meta and the shell's Main.

const kObjectPath = '/org/framewright/Shell';
const kInterfaceXml = `<node>
  <interface name="org.framewright.Shell1">
    <method name="Monitors">
      <arg type="s" direction="out" name="json"/>
    </method>
    <method name="Windows">
      <arg type="s" direction="out" name="json"/>
    </method>
    <method name="Place">
      <arg type="t" direction="in" name="id"/>
      <arg type="i" direction="in" name="x"/>
      <arg type="i" direction="in" name="y"/>
      <arg type="i" direction="in" name="width"/>
      <arg type="i" direction="in" name="height"/>
      <arg type="b" direction="in" name="maximize"/>
      <arg type="s" direction="out" name="json"/>
    </method>
    <method name="ActiveWindow">
      <arg type="t" direction="out" name="id"/>
    </method>
    <signal name="WindowsChanged"/>
  </interface>
</node>`;

// Every wait of a placement is bounded; the program's own call deadline is longer than all of them together. They
// end early as soon as the window has done what was asked; a busy client may take more than a second for it.
const kShownTimeoutMs = 3000; // a new window shows itself once its client has drawn it
const kSettleTimeoutMs = 3000; // the client answers a new size with a frame of that size
// After the client has answered with another size than the one asked for (its minimum), nothing more changes. The
// move alone (position-changed) comes before the client's answer and says nothing about the size.
const kQuietMs = 150;

const kUnlistedTypes = [Meta.WindowType.DESKTOP, Meta.WindowType.DOCK];

function sameRect(a, b) {
    return a.x === b.x && a.y === b.y && a.width === b.width && a.height === b.height;
}

function sameSize(a, b) {
    return a.width === b.width && a.height === b.height;
}

function plainRect(rect) {
    return {x: rect.x, y: rect.y, width: rect.width, height: rect.height};
}

function answerPlacement(invocation, result) {
    invocation.return_value(new GLib.Variant('(s)', [JSON.stringify(result)]));
}

// mutter 49 replaced get_maximized(), maximize(directions) and unmaximize(directions) by get_maximize_flags(),
// set_maximize_flags(directions) and set_unmaximize_flags(directions); 43 to 48 have only the former.
const kMaximizeFlagsApi = 'set_maximize_flags' in Meta.Window.prototype;

function maximizedDirections(window) {
    return kMaximizeFlagsApi ? window.get_maximize_flags() : window.get_maximized();
}

function isMaximized(window) {
    return maximizedDirections(window) === Meta.MaximizeFlags.BOTH;
}

function maximizeBoth(window) {
    if (kMaximizeFlagsApi) {
        window.set_maximize_flags(Meta.MaximizeFlags.BOTH);
    } else {
        window.maximize(Meta.MaximizeFlags.BOTH);
    }
}

function unmaximizeBoth(window) {
    if (kMaximizeFlagsApi) {
        window.set_unmaximize_flags(Meta.MaximizeFlags.BOTH);
    } else {
        window.unmaximize(Meta.MaximizeFlags.BOTH);
    }
}

// Calls `done(found, settled)` once: when `isDone()` holds after one of the window's `signals`, `quietMs` after the
// last 'size-changed' to another size than the window had at the start (0: not at all), or unsettled after
// `timeoutMs`; with found false when the window is unmanaged meanwhile. A new window may still report its own first
// size after it was shown.
function waitForWindow(window, signals, isDone, quietMs, timeoutMs, done) {
    const startRect = window.get_frame_rect();
    const handlers = [];
    let quiet = 0;
    let timeout = 0;
    const finish = (found, settled = true) => {
        handlers.forEach(id => window.disconnect(id));
        handlers.length = 0;
        [quiet, timeout].filter(id => id !== 0).forEach(id => GLib.source_remove(id));
        quiet = timeout = 0;
        done(found, settled);
    };
    const restartQuiet = () => {
        if (quiet !== 0) {
            GLib.source_remove(quiet);
        }
        quiet = GLib.timeout_add(GLib.PRIORITY_DEFAULT, quietMs, () => {
            quiet = 0;
            finish(true);
            return GLib.SOURCE_REMOVE;
        });
    };
    if (isDone()) {
        done(true, true);
        return;
    }
    for (const signal of signals) {
        handlers.push(window.connect(signal, () => {
            if (isDone()) {
                finish(true);
            } else if (quietMs > 0 && signal === 'size-changed' && !sameSize(window.get_frame_rect(), startRect)) {
                restartQuiet();
            }
        }));
    }
    handlers.push(window.connect('unmanaged', () => finish(false)));
    timeout = GLib.timeout_add(GLib.PRIORITY_DEFAULT, timeoutMs, () => {
        timeout = 0;
        finish(true, false);
        return GLib.SOURCE_REMOVE;
    });
}

// One placement: shown, restored, moved and resized, then maximized when asked. `end` gets the result object.
class Placement {
    constructor(service, window, rect, maximize, end) {
        this._service = service;
        this._window = window;
        this._rect = rect;
        this._maximize = maximize;
        this._end = end;
    }

    start() {
        // mutter's first placement of a new window overrides a move made before the window is shown.
        const shown = () => !this._service.isPending(this._window);
        waitForWindow(this._window, ['shown'], shown, 0, kShownTimeoutMs, found => this._step(found, () => this._move()));
    }

    _step(found, next) {
        if (found) {
            next();
        } else {
            this._end({found: false});
        }
    }

    _move() {
        const window = this._window;
        // In the overview, windows are shown as copies: their clients get no frame callbacks, draw nothing and never
        // take a new size (Qt 6.4 stops drawing altogether). GNOME Shell starts in the overview.
        if (Main.overview.visible) {
            Main.overview.hide();
        }
        if (window.minimized) {
            window.unminimize();
        }
        if (maximizedDirections(window) !== 0) {
            unmaximizeBoth(window);
        }
        // mutter 43 drops the move of a request whose size it limits (the window's minimum): moving first keeps the
        // asked position for the size the window keeps. A move alone needs no answer from the client. A redraw of the
        // window's actor lets mutter send the frame callbacks its client waits for before it draws again (headless,
        // nothing else may be drawn for a while).
        const r = this._rect;
        window.move_frame(true, r.x, r.y);
        window.move_resize_frame(true, r.x, r.y, r.width, r.height);
        window.get_compositor_private()?.queue_redraw();
        const landed = () => sameRect(window.get_frame_rect(), r);
        waitForWindow(window, ['size-changed', 'position-changed'], landed, kQuietMs, kSettleTimeoutMs,
            (found, settled) => this._step(found, () => this._maximizeIfAsked(settled)));
    }

    // Maximizing before the client has answered the new size would keep the old rectangle as the one to restore;
    // a window that has not answered in time is left as it is.
    _maximizeIfAsked(settled) {
        const window = this._window;
        const normal = plainRect(window.get_frame_rect());
        if (!this._maximize || !settled) {
            this._finish(normal);
            return;
        }
        this._service.rememberRestoreRect(window, normal);
        maximizeBoth(window);
        window.get_compositor_private()?.queue_redraw();
        // mutter sets the state and moves the frame to the work area's corner at once; the window is maximized once
        // its client has taken the new size (the work area's, or less for a window with size increments).
        const resized = () => {
            const frame = window.get_frame_rect();
            return isMaximized(window)
                && (!sameSize(frame, normal) || sameRect(frame, window.get_work_area_current_monitor()));
        };
        waitForWindow(window, ['size-changed'], resized, 0, kSettleTimeoutMs,
            found => this._step(found, () => this._finish(normal, resized())));
    }

    _finish(normal, maximized = false) {
        this._end({found: true, ...normal, maximized});
    }
}

class FramewrightService {
    constructor() {
        this._pending = new Set(); // windows created but not shown yet
        this._watched = new Map(); // window -> its signal handler ids
        this._restoreRects = new Map(); // window -> the rectangle it had when we maximized it
        this._placements = []; // placements in the order they were asked for, until they have ended
        this._changedIdle = 0;
        this._displayHandler = global.display.connect('window-created', (display, window) => {
            this._pending.add(window);
            this._watch(window);
            this._changed();
        });
        for (const window of global.display.list_all_windows()) {
            this._watch(window);
        }
        this._dbus = Gio.DBusExportedObject.wrapJSObject(kInterfaceXml, this);
        this._dbus.export(Gio.DBus.session, kObjectPath);
    }

    destroy() {
        this._dbus.unexport();
        global.display.disconnect(this._displayHandler);
        for (const [window, handlers] of this._watched) {
            handlers.forEach(id => window.disconnect(id));
        }
        this._watched.clear();
        if (this._changedIdle !== 0) {
            GLib.source_remove(this._changedIdle);
        }
        for (const placement of this._placements.splice(0)) {
            answerPlacement(placement.invocation, {found: false});
        }
    }

    isPending(window) {
        return this._pending.has(window);
    }

    rememberRestoreRect(window, rect) {
        this._restoreRects.set(window, rect);
    }

    // Each monitor with its work area (the top bar left out), which GNOME Shell sets once its startup has ended.
    Monitors() {
        const display = global.display;
        const primary = display.get_primary_monitor();
        const workspace = global.workspace_manager.get_active_workspace();
        const monitors = [];
        for (let i = 0; i < display.get_n_monitors(); i++) {
            monitors.push({
                ...plainRect(display.get_monitor_geometry(i)),
                primary: i === primary,
                workArea: plainRect(workspace.get_work_area_for_monitor(i)),
            });
        }
        return JSON.stringify(monitors);
    }

    Windows() {
        const windows = global.display.list_all_windows().filter(window => this._listed(window));
        const topmostFirst = global.display.sort_windows_by_stacking(windows).reverse();
        return JSON.stringify(topmostFirst.map(window => this._describe(window)));
    }

    // Several placements run at the same time, each waiting for its own window.
    PlaceAsync([id, x, y, width, height, maximize], invocation) {
        const window = global.display.list_all_windows().find(w => w.get_id() === id && this._listed(w));
        if (!window) {
            answerPlacement(invocation, {found: false});
            return;
        }
        const placement = {window, invocation, result: null};
        this._placements.push(placement);
        new Placement(this, window, {x, y, width, height}, maximize, result => {
            placement.result = result;
            this._endPlacements();
        }).start();
    }

    // Placements end in the order they were asked for: a placed window is activated, and the placement answered,
    // once every placement asked for before it has ended. Of windows placed together, the one asked for last ends on
    // top with the focus, as when they are placed one after another (unless the program asks one again afterwards).
    // Each placement's waits are bounded, and so is the wait for those before it, which began earlier.
    _endPlacements() {
        while (this._placements.length > 0 && this._placements[0].result !== null) {
            const {window, invocation, result} = this._placements.shift();
            const found = result.found && this._watched.has(window);
            if (found) {
                Main.activateWindow(window);
            }
            answerPlacement(invocation, found ? result : {found: false});
        }
    }

    ActiveWindow() {
        const focus = global.display.focus_window;
        return focus && this._listed(focus) ? focus.get_id() : 0;
    }

    _listed(window) {
        return !window.is_override_redirect() && !kUnlistedTypes.includes(window.get_window_type());
    }

    _describe(window) {
        const described = {
            id: window.get_id(),
            title: window.get_title() ?? '',
            ...plainRect(window.get_frame_rect()),
            minimized: window.minimized,
            maximized: isMaximized(window),
            transient: window.get_transient_for() !== null,
            shown: !this._pending.has(window),
        };
        const restore = this._restoreRects.get(window);
        if (described.maximized && restore) {
            described.restore = restore;
        }
        return described;
    }

    _watch(window) {
        const handlers = [
            window.connect('notify::title', () => this._changed()),
            window.connect('shown', () => {
                this._pending.delete(window);
                this._changed();
            }),
            window.connect('notify::maximized-horizontally', () => {
                if (!isMaximized(window)) {
                    this._restoreRects.delete(window);
                }
            }),
            window.connect('unmanaged', () => {
                handlers.forEach(id => window.disconnect(id));
                this._watched.delete(window);
                this._pending.delete(window);
                this._restoreRects.delete(window);
                this._changed();
            }),
        ];
        this._watched.set(window, handlers);
    }

    // Several changes in one pass of the main loop give one signal.
    _changed() {
        if (this._changedIdle !== 0) {
            return;
        }
        this._changedIdle = GLib.idle_add(GLib.PRIORITY_DEFAULT_IDLE, () => {
            this._changedIdle = 0;
            this._dbus.emit_signal('WindowsChanged', null);
            return GLib.SOURCE_REMOVE;
        });
    }
}
