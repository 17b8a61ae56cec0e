'use strict';
// WebKit's transport: classic W3C WebDriver over HTTP, as WebKitWebDriver speaks it, driving
// MiniBrowser (WebKitGTK) on the X server given. Only what the driver's pages need: windows,
// navigation, scripts, key actions and screenshots.
const fs = require('fs');
const { start, endGroup } = require('./processes.js');

const MiniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// WebDriver's codes for the keys that are not characters.
const SpecialKeys = {
  Tab: '\uE004', Enter: '\uE007', ShiftLeft: '\uE008', Escape: '\uE00C', Space: ' ', PageUp: '\uE00E',
  PageDown: '\uE00F', ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015',
  NumpadAdd: '\uE025', NumpadSubtract: '\uE027', F1: '\uE031',
};
const keyValue = (code) => SpecialKeys[code] || code.replace(/^Key/, '').replace(/^Digit/, '').toLowerCase();

// The port a process listens on, from the kernel's socket table: WebKitWebDriver takes port 0 but
// does not say which port it got.
function listeningPort(pid) {
  const sockets = new Set();
  for (const fd of fs.readdirSync(`/proc/${pid}/fd`)) {
    try {
      const socket = /^socket:\[(\d+)\]$/.exec(fs.readlinkSync(`/proc/${pid}/fd/${fd}`));
      if (socket) sockets.add(socket[1]);
    } catch (closed) {
      // closed meanwhile
    }
  }
  for (const line of fs.readFileSync('/proc/net/tcp', 'utf8').split('\n').slice(1)) {
    const [, local, , state, , , , , , inode] = line.trim().split(/\s+/);
    if (state === '0A' && sockets.has(inode)) return parseInt(local.split(':')[1], 16);
  }
  return 0;
}

async function launchWebKit(display) {
  const driver = start('WebKitWebDriver', ['--port=0'], { env: { ...process.env, DISPLAY: display } });
  const started = await new Promise((resolve) => {
    driver.on('error', () => resolve(false));
    driver.on('spawn', () => resolve(true));
  });
  if (!started) throw new Error('WebKitWebDriver could not start: install webkit2gtk-driver');
  let port = 0;
  for (let tries = 0; !port && tries < 200; tries++) {
    await new Promise((resolve) => setTimeout(resolve, 25));
    if (driver.exitCode !== null) throw new Error('WebKitWebDriver ended at once');
    port = listeningPort(driver.pid);
  }
  if (!port) throw new Error('WebKitWebDriver does not listen');
  const call = async (method, where, body) => {
    const response = await fetch(`http://127.0.0.1:${port}${where}`, {
      method, headers: { 'Content-Type': 'application/json' }, body: body && JSON.stringify(body),
      signal: AbortSignal.timeout(120000),
    });
    const { value } = await response.json();
    if (!response.ok) throw new Error(`WebDriver ${method} ${where}: ${value.error}: ${value.message}`);
    return value;
  };
  // Without --automation MiniBrowser never answers, and neither does POST /session.
  const { sessionId, capabilities } = await call('POST', '/session', { capabilities: { alwaysMatch: {
    'webkitgtk:browserOptions': { binary: MiniBrowser, args: ['--automation'] } } } });
  const session = (method, where, body) => call(method, `/session/${sessionId}${where}`, body);
  const first = await session('GET', '/window');
  let current = first;
  const pageOn = (handle) => {
    const focus = async () => {
      if (current !== handle) await session('POST', '/window', { handle });
      current = handle;
    };
    const run = async (method, where, body) => {
      await focus();
      return session(method, where, body);
    };
    return {
      engine: 'webkit',
      goto: (url) => run('POST', '/url', { url }),
      // The script's promise, if any, is awaited (WebDriver's execute).
      evaluate: (expression) => run('POST', '/execute/sync', { script: `return (${expression});`, args: [] }),
      key: (code, down) => run('POST', '/actions', { actions: [{ type: 'key', id: 'keyboard',
        actions: [{ type: down ? 'keyDown' : 'keyUp', value: keyValue(code) }] }] }),
      screenshot: async (file) => fs.writeFileSync(file, Buffer.from(await run('GET', '/screenshot'), 'base64')),
      // Back to the first window, which WebDriver needs for the next new one.
      close: async () => {
        await run('DELETE', '/window');
        current = null;
        await pageOn(first).evaluate('0');
      },
    };
  };
  return {
    engine: 'webkit',
    version: `WebKitGTK ${capabilities.browserVersion}`,
    first: pageOn(first),
    newPage: async () => pageOn((await session('POST', '/window/new', { type: 'window' })).handle),
    close: async () => {
      await session('DELETE', '').catch(() => {});
      endGroup(driver.pid);
    },
  };
}

module.exports = { launchWebKit };
