// Runs the monitor's KWin script as KWin does, under node: a workspace of
// KWin 5 or 6 whose active window changes at each line read from standard
// input, and callDBus by busctl on the session bus, which takes strings only
// (KWin 5 and 6 pass numbers as different D-Bus types).
// Usage: node KWinScriptHost.js SCRIPT 5|6 WINDOW...   WINDOW: pid:class:name or -
'use strict';
const fs = require('fs');
const readline = require('readline');
const {execFileSync} = require('child_process');

const [script, version, ...windows] = process.argv.slice(2);
const parse = (text) => {
    if (text === '-')
        return null;
    const [pid, resourceClass, resourceName] = text.split(':');
    return {pid: Number(pid), resourceClass, resourceName};
};

const slots = [];
const activated = {connect: (slot) => slots.push(slot)};
let active = parse(windows[0]);
const workspace = {};
if (version === '6') {
    workspace.windowActivated = activated;
    Object.defineProperty(workspace, 'activeWindow', {get: () => active});
} else {
    workspace.clientActivated = activated;
    Object.defineProperty(workspace, 'activeClient', {get: () => active});
}

function callDBus(service, path, iface, method, ...args) {
    if (args.some((arg) => typeof arg !== 'string'))
        throw new Error('callDBus with a non-string argument: ' + JSON.stringify(args));
    execFileSync('busctl', ['--user', 'call', service, path, iface, method,
                            's'.repeat(args.length), ...args]);
}

new Function('workspace', 'callDBus', fs.readFileSync(script, 'utf8'))(workspace, callDBus);
const next = windows.slice(1);
readline.createInterface({input: process.stdin}).on('line', () => {
    active = parse(next.shift());
    slots.forEach((slot) => slot(active));
});
