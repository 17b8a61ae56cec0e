'use strict';
// The web tier: the page of the browser build in headless Chromium, driven over the DevTools
// protocol. node web_test.js PAGE_DIR SOURCE_DIR CASE runs one case of the table at the end; the
// page is served on 127.0.0.1 by this script, which can also withhold or damage its pictures.
const { WebSocket } = require('ws');
const { spawn } = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const zlib = require('zlib');

const [pageDir = process.env.QUORVANE_WEB_PAGE, sourceDir, caseName] = process.argv.slice(2);
const goldenDir = path.join(sourceDir || '.', 'tests/golden');

// Golden frames drawn by SwiftShader against the references drawn by Mesa's llvmpipe: the share of
// pixels whose largest channel difference is at most WithinLevels. Measured on every golden run,
// each shot has at least 99.7 % (README, Web). What is left: edges that SwiftShader places with 4
// bits of sub-pixel precision where llvmpipe has 8 (a row of the backdrop, pixels along triangle
// edges), single texels of a far-minified texture without mipmaps that its interpolation picks on
// the other side of a boundary, and the additive particles, which it blends a level or two darker.
const WithinLevels = 6;
const MinShareWithin = 0.995;
// What a key must change, as the golden runs ask of a run against its base.
const MinChangedShare = 0.01;

function fail(message) {
  throw new Error(message);
}

// PNG files as written by the capture tool and the reference pictures: 8-bit RGB or RGBA, not
// interlaced. Returns { width, height, rgb }.
function decodePng(bytes) {
  let at = 8, width = 0, height = 0, channels = 0;
  const data = [];
  while (at < bytes.length) {
    const length = bytes.readUInt32BE(at), type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      channels = { 2: 3, 6: 4 }[body[9]];
      if (body[8] !== 8 || !channels || body[12] !== 0) fail('unsupported PNG');
    } else if (type === 'IDAT') data.push(body);
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data)), stride = width * channels;
  const rows = Buffer.alloc(stride * height), rgb = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)], line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; x++) {
      const a = x >= channels ? rows[y * stride + x - channels] : 0, b = y ? rows[(y - 1) * stride + x] : 0;
      const c = x >= channels && y ? rows[(y - 1) * stride + x - channels] : 0;
      const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const predictor = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
      rows[y * stride + x] = (line[x] + predictor) & 255;
    }
  }
  for (let i = 0; i < width * height; i++) rows.copy(rgb, i * 3, i * channels, i * channels + 3);
  return { width, height, rgb };
}

// Share of pixels within 2, 6 and 16 levels, and the largest channel difference.
function compare(actual, expected) {
  if (actual.width !== expected.width || actual.height !== expected.height) fail('sizes differ');
  const within = { 2: 0, 6: 0, 16: 0 };
  let largest = 0;
  for (let i = 0; i < actual.rgb.length; i += 3) {
    let d = 0;
    for (let c = 0; c < 3; c++) d = Math.max(d, Math.abs(actual.rgb[i + c] - expected.rgb[i + c]));
    largest = Math.max(largest, d);
    for (const level of [2, 6, 16]) if (d <= level) within[level]++;
  }
  const pixels = actual.rgb.length / 3;
  return { within2: within[2] / pixels, within6: within[6] / pixels, within16: within[16] / pixels, largest };
}

// The golden table, with each run's input following its base's, as the golden tier reads it.
function goldenRuns() {
  const runs = new Map();
  for (const line of fs.readFileSync(path.join(goldenDir, 'runs.txt'), 'utf8').split('\n')) {
    if (!line.trim() || line.startsWith('#')) continue;
    const [name, frames, shots, base, ...own] = line.trim().split(/\s+/);
    const input = [base !== '-' ? runs.get(base).input : '', own.join(' ')].filter((s) => s).join(' ');
    runs.set(name, { name, frames: Number(frames), shots: shots.split(',').map(Number), base, input });
  }
  return [...runs.values()];
}

// The page's server: the build's folder, with `overrides` (path -> bytes, or null for 404).
function serve(overrides) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname).replace(/^\/+/, '') || 'index.html';
    let body = name in overrides ? overrides[name] : null;
    if (!(name in overrides) && !name.includes('..')) body = fs.existsSync(path.join(pageDir, name)) ? fs.readFileSync(path.join(pageDir, name)) : null;
    if (!body) return response.writeHead(404).end();
    response.writeHead(200, { 'Content-Type': types[path.extname(name)] || 'application/octet-stream' }).end(body);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// One headless Chromium with its own empty profile, and one page target driven over the protocol.
async function openBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvane-web-'));
  const chromium = spawn('chromium', ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    '--no-sandbox', '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--no-first-run', '--disable-quic', '--remote-debugging-port=0', '--user-data-dir=' + profile, 'about:blank'],
    { stdio: ['ignore', 'ignore', 'pipe'], detached: true });
  const endpoint = await new Promise((resolve, reject) => {
    let text = '';
    chromium.stderr.on('data', (chunk) => {
      text += chunk;
      const found = /DevTools listening on (ws:\/\/\S+)/.exec(text);
      if (found) resolve(found[1]);
    });
    chromium.on('exit', () => reject(new Error('chromium ended: ' + text)));
  });
  const socket = new WebSocket(endpoint, { perMessageDeflate: false, maxPayload: 1 << 28 });
  await new Promise((resolve) => socket.on('open', resolve));
  let next = 0;
  const pending = new Map(), listeners = [];
  socket.on('message', (text) => {
    const message = JSON.parse(text);
    if (message.id && pending.has(message.id)) {
      const { resolve, reject } = pending.get(message.id);
      pending.delete(message.id);
      message.error ? reject(new Error(JSON.stringify(message.error))) : resolve(message.result);
    } else listeners.forEach((listener) => listener(message));
  });
  const send = (method, params = {}, sessionId) => new Promise((resolve, reject) => {
    pending.set(++next, { resolve, reject });
    socket.send(JSON.stringify({ id: next, method, params, sessionId }));
  });
  const { targetId } = await send('Target.createTarget', { url: 'about:blank' });
  const { sessionId } = await send('Target.attachToTarget', { targetId, flatten: true });
  const page = (method, params) => send(method, params, sessionId);
  const errors = [];
  listeners.push((m) => {
    if (m.sessionId === sessionId && m.method === 'Runtime.exceptionThrown') errors.push(m.params.exceptionDetails);
  });
  await page('Runtime.enable');
  await page('Page.enable');
  const close = async () => {
    socket.close();
    const ended = new Promise((resolve) => chromium.on('exit', resolve));
    process.kill(-chromium.pid); // the browser and its helpers, which it started in its own group
    await ended;
    fs.rmSync(profile, { recursive: true, force: true, maxRetries: 20, retryDelay: 50 });
  };
  return { page, errors, close };
}

async function evaluate(browser, expression) {
  const { result, exceptionDetails } = await browser.page('Runtime.evaluate',
    { expression, awaitPromise: true, returnByValue: true });
  if (exceptionDetails) fail('page: ' + JSON.stringify(exceptionDetails));
  return result.value;
}

// Polls the page until `expression` is true; never a fixed sleep.
async function waitFor(browser, expression, what, seconds = 20) {
  const end = Date.now() + seconds * 1000;
  while (Date.now() < end) {
    if (await evaluate(browser, expression)) return;
    await new Promise((resolve) => setTimeout(resolve, 25));
  }
  fail('timed out waiting for ' + what + '; page says: ' + (await evaluate(browser, 'document.body.innerText')));
}

async function key(browser, name, code, virtualKey, type) {
  await browser.page('Input.dispatchKeyEvent',
    { type, key: name, code, windowsVirtualKeyCode: virtualKey, nativeVirtualKeyCode: virtualKey });
}

// A key held for two presented frames, as a person's press is.
async function press(browser, name, code, virtualKey) {
  await key(browser, name, code, virtualKey, 'keyDown');
  const at = await evaluate(browser, 'QuorvanePage.presented');
  await waitFor(browser, `QuorvanePage.presented >= ${at + 2} || QuorvanePage.state !== 'running'`, 'two frames');
  await key(browser, name, code, virtualKey, 'keyUp');
}

// A phone's screen: touch, devicePixelRatio 3, `width` x `height` CSS pixels. Called again, it
// turns the phone without reloading the page.
async function phoneViewport(browser, width, height) {
  await browser.page('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 3, mobile: true });
  await browser.page('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });
  await waitFor(browser, `innerWidth === ${width} && innerHeight === ${height} && matchMedia('(pointer: coarse)').matches`,
    'the phone');
}

// The fingers on the screen now, [{ x, y, id }] in CSS pixels: a finger that is new goes down, one
// that is gone is lifted, the others move. One change at a time.
async function touch(browser, fingers) {
  const before = browser.fingers || [];
  const lifted = before.filter((b) => !fingers.find((f) => f.id === b.id));
  const type = lifted.length ? 'touchEnd' : fingers.some((f) => !before.find((b) => b.id === f.id)) ? 'touchStart' : 'touchMove';
  const points = (type === 'touchEnd' ? lifted : fingers).map(({ x, y, id }) => ({ x, y, id }));
  browser.fingers = fingers;
  await browser.page('Input.dispatchTouchEvent', { type, touchPoints: points });
}

// The CSS position of the centre of pixel (x, y) of the picture, and of the named control.
const pictureAt = (browser, x, y) => evaluate(browser, `(() => {
  const c = document.querySelector('#quorvane-screen canvas:not(.retired)'), r = c.getBoundingClientRect();
  return { x: r.left + (${x} + 0.5) * r.width / c.width, y: r.top + (${y} + 0.5) * r.height / c.height }; })()`);
async function controlAt(browser, name) {
  const control = `[...document.querySelectorAll('.quorvane-control')].find((e) => e.getAttribute('aria-label') === '${name}')`;
  await waitFor(browser, `${control}.offsetParent !== null`, name);
  return evaluate(browser, `(() => { const b = ${control}; b.scrollIntoView({ block: 'nearest' });
    const r = b.getBoundingClientRect(); return { x: r.left + r.width / 2, y: r.top + r.height / 2 }; })()`);
}
const mouse = (browser, type, { x, y }, buttons = 0) => browser.page('Input.dispatchMouseEvent',
  { type, x, y, buttons, button: type === 'mouseMoved' ? 'none' : 'right', clickCount: 1 });

const Dialog = `(() => { const d = document.querySelector('.quorvane-dialog');
  return d && { caption: d.querySelector('.caption').textContent, text: d.querySelector('.text').textContent,
    buttons: [...d.querySelectorAll('button')].map((b) => b.textContent) }; })()`;

async function answer(browser, label) {
  await evaluate(browser, `[...document.querySelectorAll('.quorvane-dialog button')].find((b) => b.textContent === '${label}').click()`);
}

// A page run: served with `overrides`, opened at `query`, with `prepare` evaluated before the page's
// own scripts (what the browser refuses); then `drive` does the rest.
async function withPage(query, { overrides = {}, prepare } = {}, drive) {
  const server = await serve(overrides);
  const browser = await openBrowser();
  try {
    if (prepare) await browser.page('Page.addScriptToEvaluateOnNewDocument', { source: prepare });
    await browser.page('Page.navigate', { url: `http://127.0.0.1:${server.address().port}/index.html${query}` });
    await waitFor(browser, "typeof QuorvanePage === 'object'", 'the page');
    await drive(browser);
    if (browser.errors.length) fail('uncaught in the page: ' + JSON.stringify(browser.errors[0]));
  } finally {
    await browser.close();
    server.close();
  }
}

async function shotsOf(browser, shots) {
  await waitFor(browser, "QuorvanePage.state === 'ended'", 'the capture to end', 120);
  const pictures = {};
  for (const shot of shots) {
    const base64 = await evaluate(browser, `(() => { const b = Module.FS.readFile('captures/frame-${shot}.png');
      let s = ''; for (let i = 0; i < b.length; i += 32768) s += String.fromCharCode.apply(null, b.subarray(i, i + 32768));
      return btoa(s); })()`);
    pictures[shot] = decodePng(Buffer.from(base64, 'base64'));
  }
  return pictures;
}

const reference = (run, shot) => decodePng(fs.readFileSync(path.join(goldenDir, `reference/${run}-${shot}.png`)));
const captureQuery = (run, input) =>
  `?frames=${run.frames}&shots=${run.shots.join(',')}&input=${encodeURIComponent(input)}`;
const run = (name) => goldenRuns().find((r) => r.name === name);
const percent = (share) => (100 * share).toFixed(2) + '%';

const Cases = {
  // Every golden run's frames, drawn in the page, against the native references.
  async golden() {
    let worst = 1;
    const runs = goldenRuns();
    const check = (golden) => withPage(captureQuery(golden, golden.input), {}, async (browser) => {
      const pictures = await shotsOf(browser, golden.shots);
      for (const shot of golden.shots) {
        const d = compare(pictures[shot], reference(golden.name, shot));
        worst = Math.min(worst, d.within6);
        console.log(`${golden.name}-${shot}: within 2 ${percent(d.within2)}, 6 ${percent(d.within6)}, ` +
          `16 ${percent(d.within16)}, largest ${d.largest}`);
      }
    });
    // Two pages at a time: most of a run is waiting for the display.
    for (let i = 0; i < runs.length; i += 2) await Promise.all(runs.slice(i, i + 2).map(check));
    if (worst < MinShareWithin) fail(`a frame has only ${percent(worst)} of its pixels within ${WithinLevels} levels`);
  },

  // Keys over the protocol reach the scene: L lit at frame 150 gives the lit reference, whenever it
  // was pressed; H shows the panel over the default frame. A tap on a control on a phone's screen
  // does what its key does.
  async keys() {
    for (const [name, code, vk, golden, base, same, control] of [['l', 'KeyL', 0x4c, 'group', 'lighting', true],
      ['h', 'KeyH', 0x48, 'default', 'default', false], ['l', '', 0x4c, 'group', 'lighting', true, 'Lighting (L)'],
      ['h', '', 0x48, 'default', 'default', false, 'This help (H)']]) {
      const r = run(golden), shot = golden === 'default' ? 100 : 150;
      await withPage(`?frames=${shot}&shots=${shot}&input=${encodeURIComponent(r.input)}`, {}, async (browser) => {
        if (control) await phoneViewport(browser, 360, 640);
        await waitFor(browser, 'QuorvanePage.presented >= 5', 'the first frames');
        if (control) {
          const at = await controlAt(browser, control);
          await Promise.all([touch(browser, [{ ...at, id: 1 }]), touch(browser, [])]); // a tap shorter than a frame
        } else {
          await press(browser, name, code, vk);
        }
        if (await evaluate(browser, `QuorvanePage.presented >= ${shot - 10}`)) fail('the key came too late');
        const d = compare((await shotsOf(browser, [shot]))[shot], reference(base, shot));
        console.log(`${control || name}: ${percent(d.within6)} within ${WithinLevels} of ${base}-${shot}`);
        if (same ? d.within6 < MinShareWithin : 1 - d.within6 < MinChangedShare) fail(`${control || name} did not act`);
      });
    }
  },

  // A drag turns the view by 0.4 degrees per pixel of the picture, whatever moves it and wherever it
  // ends: the same drag across the picture by the right button in a window, by a finger on a
  // phone's screen, and by the right button let go over the heading and then moved back across the
  // picture, all give the same frame, which differs from the frame without the drag.
  async drags() {
    const Path = [[95, 240], [320, 240], [545, 240], [545, 120], [545, 0]];
    const heading = "(() => { const r = document.querySelector('h1').getBoundingClientRect(); return r.top + r.height / 2; })()";
    let first = null;
    for (const how of ['mouse', 'finger', 'mouse let go over the heading']) {
      await withPage('?frames=150&shots=150', {}, async (browser) => {
        if (how === 'finger') await phoneViewport(browser, 360, 640);
        else await browser.page('Emulation.setDeviceMetricsOverride', { width: 1280, height: 800, deviceScaleFactor: 1, mobile: false });
        await waitFor(browser, 'QuorvanePage.presented >= 5', 'the first frames');
        const points = [];
        for (const [x, y] of Path) points.push(await pictureAt(browser, x, y));
        if (how === 'finger') {
          for (const point of points) await touch(browser, [{ ...point, id: 1 }]);
          await touch(browser, []);
        } else {
          const end = how === 'mouse' ? points[points.length - 1] : { ...points[points.length - 1], y: await evaluate(browser, heading) };
          for (const [i, point] of [...points, end].entries()) await mouse(browser, i ? 'mouseMoved' : 'mousePressed', point, 2);
          await mouse(browser, 'mouseReleased', end);
          for (const point of points.reverse()) await mouse(browser, 'mouseMoved', point);
        }
        if (await evaluate(browser, 'QuorvanePage.presented >= 140')) fail('the drag came too late');
        const picture = (await shotsOf(browser, [150]))[150];
        const d = compare(picture, first || reference('default', 150));
        console.log(`${how}: ${percent(d.within6)} within ${WithinLevels} of ${first ? 'the mouse' : 'default-150'}`);
        if (first ? d.within6 < MinShareWithin : 1 - d.within6 < MinChangedShare) fail(`${how} turned the view otherwise`);
        first = first || picture;
      });
    }
  },

  // The page on phones: it fits the screen however the phone is held, turned without a reload; the
  // controls can be held with one finger while another drags, and nothing stays held once they are
  // let go or the page loses the focus; an idle page does no layout or style work per frame.
  async phone() {
    await withPage('', {}, async (browser) => {
      for (const [width, height] of [[320, 568], [360, 640], [640, 360]]) {
        await phoneViewport(browser, width, height);
        const at = await evaluate(browser, 'QuorvanePage.presented');
        await waitFor(browser, `QuorvanePage.presented > ${at + 3}`, 'frames');
        const fit = await evaluate(browser, `(() => { const r = document.querySelector('#quorvane-screen canvas:not(.retired)').getBoundingClientRect();
          const small = [...document.querySelectorAll('.quorvane-control')].filter((b) => b.offsetWidth < 44 || b.offsetHeight < 44);
          return { overflow: document.documentElement.scrollWidth - innerWidth, inView: r.left >= 0 && r.top >= 0 &&
            r.right <= innerWidth && r.bottom <= innerHeight, width: r.width, small: small.length,
            controls: !document.getElementById('quorvane-controls').hidden }; })()`);
        console.log(`${width} x ${height}: ${JSON.stringify(fit)}`);
        if (fit.overflow > 0 || !fit.inView || !fit.controls || fit.small) fail(`the page does not fit ${width} x ${height}`);
      }
      await phoneViewport(browser, 360, 640);
      const W = await controlAt(browser, 'Move camera (W)'), held = 'JSON.stringify(QuorvanePage.heldInput())';
      await touch(browser, [{ ...W, id: 1 }]);
      const at = await evaluate(browser, 'QuorvanePage.presented');
      await waitFor(browser, `QuorvanePage.presented > ${at + 5}`, 'frames with W held');
      await touch(browser, [{ ...W, id: 1 }, { ...(await pictureAt(browser, 300, 200)), id: 2 }]);
      await touch(browser, [{ ...W, id: 1 }, { ...(await pictureAt(browser, 340, 220)), id: 2 }]);
      const both = await evaluate(browser, held);
      await touch(browser, [{ ...W, id: 1 }]);
      const one = await evaluate(browser, held);
      await touch(browser, []);
      const after = await evaluate(browser, 'QuorvanePage.presented');
      await waitFor(browser, `QuorvanePage.presented > ${after + 2}`, 'frames after');
      const none = await evaluate(browser, held);
      console.log(`W and a drag: ${both}; W: ${one}; let go: ${none}`);
      if (both !== '{"keys":[87],"buttons":2}' || one !== '{"keys":[87],"buttons":0}' || none !== '{"keys":[],"buttons":0}')
        fail('a control and a drag together');
      // A key held while the page loses the focus to another tab is let go.
      await key(browser, 'a', 'KeyA', 0x41, 'keyDown');
      await waitFor(browser, "QuorvanePage.heldInput().keys.includes(0x41)", 'A held');
      const { targetId } = await browser.page('Target.createTarget', { url: 'about:blank' });
      await browser.page('Target.activateTarget', { targetId });
      await waitFor(browser, "!document.hasFocus() && QuorvanePage.heldInput().keys.length === 0", 'A let go');
    });
    // Idle with the controls shown: no layout and no style work per frame.
    await withPage('', {}, async (browser) => {
      await phoneViewport(browser, 360, 640);
      await browser.page('Performance.enable');
      await waitFor(browser, 'QuorvanePage.presented >= 10', 'the first frames');
      const counts = async () => (await browser.page('Performance.getMetrics')).metrics
        .filter((m) => m.name === 'LayoutCount' || m.name === 'RecalcStyleCount').map((m) => m.value).join();
      const [before, at] = [await counts(), await evaluate(browser, 'QuorvanePage.presented')];
      await waitFor(browser, `QuorvanePage.presented >= ${at + 300}`, '300 frames', 60);
      const after = await counts();
      console.log(`layouts and style recalculations: ${before} before 300 frames, ${after} after`);
      if (after !== before) fail('an idle page lays out or restyles per frame');
    });
  },

  // Escape ends the program; the page says so and offers to start again.
  async escape() {
    await withPage('', {}, async (browser) => {
      await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames', 5);
      await key(browser, 'Escape', 'Escape', 0x1b, 'keyDown');
      await waitFor(browser, "QuorvanePage.state === 'ended'", 'the end');
      const text = await evaluate(browser, "document.querySelector('.quorvane-ended').innerText");
      if (!/has ended/.test(text) || !/Start again/.test(text)) fail('no end notice: ' + text);
      if (!(await evaluate(browser, "document.querySelector('#quorvane-screen canvas') !== null"))) fail('no canvas');
    });
  },

  // The desktop's boxes, as dialogs: a damaged picture, both pictures missing, no WebGL context.
  async boxes() {
    const damaged = Buffer.from(fs.readFileSync(path.join(pageDir, 'data/t1.bmp')));
    damaged.write('XX', 0, 'latin1');
    const cases = [
      [{ overrides: { 'data/t1.bmp': damaged } }, 'Error', 'OK', 'running'],
      [{ overrides: { 'data/t1.bmp': null, 'data/star.bmp': null } }, 'Initialization Error', 'OK', 'ended',
        'Initialize OpenGL failed'],
      [{ prepare: "HTMLCanvasElement.prototype.getContext = () => null;" }, 'Initialization error', 'OK', 'ended',
        'Create rendering context failed'],
    ];
    for (const [options, caption, button, after, text] of cases) {
      await withPage('', options, async (browser) => {
        await waitFor(browser, Dialog, 'a dialog');
        const dialog = await evaluate(browser, Dialog);
        console.log(JSON.stringify(dialog));
        if (dialog.caption !== caption || (text && dialog.text !== text) || dialog.buttons.join() !== button)
          fail('unexpected dialog ' + JSON.stringify(dialog));
        await answer(browser, button);
        await waitFor(browser, `QuorvanePage.state === '${after}'` + (after === 'running' ? ' && QuorvanePage.presented > 3' : ''), after);
      });
    }
  },

  // A refused fullscreen, or none at all (a phone's browser without the Fullscreen API), asks the
  // desktop's question; Yes goes on in a window.
  async fullscreen() {
    for (const refuse of ['Element.prototype.requestFullscreen = function () { return Promise.reject(new TypeError("refused")); };',
      'delete Element.prototype.requestFullscreen;']) await withPage('', { prepare: refuse }, async (browser) => {
      await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames');
      await key(browser, 'F1', 'F1', 0x70, 'keyDown');
      await waitFor(browser, Dialog, 'the question');
      const dialog = await evaluate(browser, Dialog);
      if (dialog.caption !== 'Initialization Error' || dialog.buttons.join() !== 'Yes,No' || !/windowed mode\?$/.test(dialog.text))
        fail('unexpected dialog ' + JSON.stringify(dialog));
      await key(browser, 'F1', 'F1', 0x70, 'keyUp');
      // Keys and controls pressed during the dialog do not reach the scene: Escape would end it. Tab
      // stays in the dialog.
      await key(browser, 'Escape', 'Escape', 0x1b, 'keyDown');
      await key(browser, 'Escape', 'Escape', 0x1b, 'keyUp');
      await evaluate(browser, "document.getElementById('quorvane-controls-toggle').click()");
      const esc = await controlAt(browser, 'Quit (Esc)');
      await mouse(browser, 'mousePressed', esc, 1);
      await mouse(browser, 'mouseReleased', esc);
      for (const type of ['keyDown', 'keyUp', 'keyDown', 'keyUp']) await key(browser, 'Tab', 'Tab', 0x09, type);
      if (!(await evaluate(browser, "document.querySelector('.quorvane-dialog').contains(document.activeElement)")))
        fail('the focus left the dialog');
      const at = await evaluate(browser, 'QuorvanePage.presented');
      await answer(browser, 'Yes');
      await waitFor(browser, `QuorvanePage.presented > ${at + 3} && QuorvanePage.state === 'running'`, 'frames in a window');
      if (await evaluate(browser, 'QuorvanePage.isFullscreen()')) fail('fullscreen after all');
    });
    // Allowed, F1 goes fullscreen and back, each time on a new canvas; in a 1280 x 720 fullscreen,
    // with the cursor hidden, equal drags across the letterboxed picture move equal pixels of it.
    // After the browser leaves fullscreen by itself, the program is back in its window, and one F1
    // goes fullscreen again.
    await withPage('', {}, async (browser) => {
      await browser.page('Emulation.setDeviceMetricsOverride',
        { width: 1280, height: 720, deviceScaleFactor: 1, mobile: false, screenWidth: 1280, screenHeight: 720 });
      const canvas = "document.querySelector('#quorvane-screen canvas:not(.retired)')";
      for (const [fullscreen, how] of [[true, 'F1'], [false, 'F1'], [true, 'F1'], [false, 'the browser'], [true, 'F1']]) {
        await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames');
        const [before, at] = await evaluate(browser, `[${canvas}.id, QuorvanePage.presented]`);
        if (how === 'F1') await press(browser, 'F1', 'F1', 0x70);
        else await evaluate(browser, 'document.exitFullscreen()');
        await waitFor(browser, `QuorvanePage.isFullscreen() === ${fullscreen} && QuorvanePage.presented > ${at + 3} && ` +
          `${canvas}.id !== '${before}' && !QuorvanePage.dialogOpen()`, `the switch by ${how}`);
        if (!fullscreen) continue;
        const moved = [];
        for (const [dx, dy] of [[0, 0], [240, 0], [0, 240]]) {
          await mouse(browser, 'mouseMoved', { x: 640 + dx, y: 360 + dy });
          moved.push(await evaluate(browser, '[QuorvanePage.pointer.x, QuorvanePage.pointer.y]'));
        }
        const [dx, dy] = [moved[1][0] - moved[0][0], moved[2][1] - moved[0][1]];
        const cursor = await evaluate(browser, `${canvas}.style.cursor`);
        console.log(`fullscreen: 240 CSS pixels are ${dx} pixels across and ${dy} down; cursor ${cursor}`);
        if (dx !== 160 || dy !== 160 || cursor !== 'none') fail('the fullscreen picture is mapped or shown wrongly');
      }
    });
  },

  // A context the browser takes away comes back on a new canvas, and the scene goes on.
  async context_lost() {
    await withPage('', {}, async (browser) => {
      await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames');
      const first = await evaluate(browser, "document.querySelector('#quorvane-screen canvas:not(.retired)').id");
      await evaluate(browser, `document.getElementById('${first}').getContext('webgl2').getExtension('WEBGL_lose_context').loseContext()`);
      await waitFor(browser, `(document.querySelector('#quorvane-screen canvas:not(.retired)') || {}).id !== '${first}'`, 'a new canvas');
      const at = await evaluate(browser, 'QuorvanePage.presented');
      await waitFor(browser, `QuorvanePage.presented > ${at + 3}`, 'frames on the new canvas');
      if (await evaluate(browser, 'document.querySelectorAll("#quorvane-screen canvas").length') !== 1) fail('canvases left over');
    });
  },

  // A bad capture option is named, and nothing is drawn; an address without the capture tool's
  // `frames`, such as a link shared with tracking parameters, runs the scene.
  async bad_option() {
    await withPage('?frames=10&shot=1', {}, async (browser) => {
      await waitFor(browser, "QuorvanePage.state === 'ended'", 'the end');
      const lines = await evaluate(browser, 'QuorvanePage.lines.join("\\n")');
      if (!/--shot/.test(lines) || (await evaluate(browser, 'QuorvanePage.presented')) !== 0) fail('not refused: ' + lines);
    });
    await withPage('?utm_source=x&fbclid=y', {}, async (browser) => {
      await waitFor(browser, "QuorvanePage.presented > 10 && QuorvanePage.state === 'running'", 'the scene');
      if (await evaluate(browser, 'QuorvanePage.lines.length')) fail('the address went to the program');
    });
  },
};

module.exports = { withPage, waitFor, evaluate, press, key };
if (require.main !== module) return;
if (!Cases[caseName]) fail('no case ' + caseName + '; cases: ' + Object.keys(Cases).join(' '));
const started = Date.now();
Cases[caseName]().then(() => console.log(`${caseName}: passed in ${((Date.now() - started) / 1000).toFixed(1)} s`),
  (error) => { console.error(`${caseName}: FAILED: ${error.message}`); process.exit(1); });
