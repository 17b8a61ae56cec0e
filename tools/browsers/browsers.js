'use strict';
// The page's three browser engines behind one interface, for the web tier and the page's bench.
// launch(engine) starts one browser and checks that it has WebGL 2; browser.newPage() opens a
// page, which goes to an address, evaluates expressions (promises awaited), sends keys through the
// engine's own input path (trusted events, as a person's) and takes screenshots.
//
//   chromium  Debian's Chromium, headless, WebGL on SwiftShader; over the DevTools protocol
//             (puppeteer-core). Its pages also give puppeteer's Page (`page`) and a DevTools
//             session (`cdp`) for what only Chromium offers: device emulation, touch, metrics.
//   firefox   Firefox ESR over WebDriver BiDi (puppeteer-core), on an X server of its own:
//             headless, it has no WebGL. `page` is puppeteer's Page.
//   webkit    WebKitGTK's MiniBrowser over classic WebDriver (webdriver.js), on an X server of
//             its own.
const { createRequire } = require('module');
const path = require('path');
const { track, endGroup, temporaryFolder, startXvfb } = require('./processes.js');
const { launchWebKit } = require('./webdriver.js');

const Engines = ['chromium', 'firefox', 'webkit'];

// The npm packages, pinned by the project's package-lock.json and installed beside it by `npm ci`;
// without them nothing can run, and that is all there is to say.
const packages = createRequire(path.join(__dirname, '../../package.json'));
function requirePackage(name) {
  try {
    return packages(name);
  } catch (missing) {
    console.error(`FAILED: the npm package ${name} is missing: run "npm ci" in the project's folder (scripts/test.sh does)`);
    return process.exit(1);
  }
}

function puppeteerPage(engine, page, cdp) {
  let fingers = [];
  return {
    engine, page, cdp,
    goto: (url) => page.goto(url, { waitUntil: 'domcontentloaded' }),
    evaluate: (expression) => page.evaluate(expression),
    key: (code, down) => (down ? page.keyboard.down(code) : page.keyboard.up(code)),
    screenshot: (file) => page.screenshot({ path: file }),
    close: () => page.close(),
    // Chromium only: the screen, a desktop's or a phone's (touch, `scale` device pixels to the CSS
    // pixel), changed without a reload, as a phone is turned ...
    screen: cdp && (async (width, height, phone = false, scale = phone ? 3 : 1) => {
      const size = { width, height, screenWidth: width, screenHeight: height };
      await cdp.send('Emulation.setDeviceMetricsOverride', { ...size, deviceScaleFactor: scale, mobile: phone });
      await cdp.send('Emulation.setTouchEmulationEnabled', { enabled: phone, maxTouchPoints: 5 });
      await page.waitForFunction(`innerWidth === ${width} && matchMedia('(pointer: coarse)').matches === ${phone}`);
    }),
    // ... and the fingers on it now, [{ x, y, id }] in CSS pixels: a finger that is new goes down,
    // one that is gone is lifted, the others move; one change at a time. Not awaited, two calls
    // make a tap shorter than a frame.
    touch: cdp && ((now) => {
      const lifted = fingers.filter((f) => !now.find((n) => n.id === f.id));
      const type = lifted.length ? 'touchEnd' : now.some((n) => !fingers.find((f) => f.id === n.id)) ? 'touchStart' : 'touchMove';
      const points = (type === 'touchEnd' ? lifted : now).map(({ x, y, id }) => ({ x, y, id }));
      fingers = now;
      return cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points });
    }),
  };
}

async function launchPuppeteer(engine, display) {
  const puppeteer = requirePackage('puppeteer-core');
  const options = { protocolTimeout: 120000, timeout: 60000, userDataDir: temporaryFolder(`quorvane-${engine}-`) };
  const browser = await puppeteer.launch(engine === 'chromium' ? {
    ...options, executablePath: '/usr/bin/chromium', headless: true,
    args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox', '--disable-quic'],
  } : {
    ...options, browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: false,
    env: { ...process.env, DISPLAY: display },
  });
  const pid = browser.process().pid;
  track(pid);
  const [first] = await browser.pages();
  return {
    engine,
    version: await browser.version(),
    first: puppeteerPage(engine, first),
    newPage: async () => {
      const page = await browser.newPage();
      return puppeteerPage(engine, page, engine === 'chromium' ? await page.createCDPSession() : null);
    },
    close: async () => {
      await Promise.race([browser.close(), new Promise((resolve) => setTimeout(resolve, 10000).unref())]).catch(() => {});
      endGroup(pid);
    },
  };
}

// One browser of `engine`, with WebGL 2, or an error that says what is missing.
async function launch(engine) {
  if (!Engines.includes(engine)) throw new Error(`no engine ${engine}; engines: ${Engines.join(' ')}`);
  const x = engine === 'chromium' ? null : await startXvfb();
  let browser;
  try {
    browser = engine === 'webkit' ? await launchWebKit(x.display) : await launchPuppeteer(engine, x && x.display);
  } catch (error) {
    if (x) x.end();
    throw new Error(`${engine} could not start: ${error.message}`);
  }
  const close = browser.close;
  browser.close = async () => {
    await close();
    if (x) x.end();
  };
  const webgl = await browser.first.evaluate(`(() => {
    const gl = document.createElement('canvas').getContext('webgl2');
    if (!gl) return null;
    const info = gl.getExtension('WEBGL_debug_renderer_info');
    const renderer = gl.getParameter(info ? info.UNMASKED_RENDERER_WEBGL : gl.RENDERER);
    gl.getExtension('WEBGL_lose_context')?.loseContext();
    return renderer; })()`);
  if (!webgl) {
    await browser.close();
    throw new Error(`${engine} (${browser.version}) has no WebGL 2 here`);
  }
  browser.renderer = webgl;
  return browser;
}

module.exports = { Engines, launch, requirePackage };
