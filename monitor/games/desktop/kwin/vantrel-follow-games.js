// Loaded into KWin by vantrel-monitor: reports the active window (its
// process id and resource class) to the monitor at every activation.
var monitor = {
    name: "example.vantrel_gaming.GamingKeyboard.Monitor",
    path: "/example/vantrel_gaming/GamingKeyboard/Monitor",
    iface: "example.vantrel_gaming.GamingKeyboard.Monitor",
};

function report(window) {
    // Every argument a string: KWin 5 and 6 pass JavaScript numbers as
    // different D-Bus types.
    callDBus(monitor.name, monitor.path, monitor.iface, "ActiveWindow",
             window ? String(window.pid) : "0",
             window ? String(window.resourceClass) : "",
             window ? String(window.resourceName) : "");
}

// KWin 6 names windows "window", KWin 5 "client".
if (workspace.windowActivated) {
    workspace.windowActivated.connect(report);
    report(workspace.activeWindow);
} else {
    workspace.clientActivated.connect(report);
    report(workspace.activeClient);
}
