'use strict';
// The page on a phone's screen, for the README: node scripts/readme-pictures.js PAGE_DIR OUT.png
// (run by scripts/readme-pictures.sh), in Chromium. The scene runs for two seconds first.
const path = require('path');
const [pageDir, out] = process.argv.slice(2);
process.argv.splice(2, process.argv.length, pageDir, path.join(__dirname, '..'));
const { withPage, waitFor, evaluate } = require('../tests/web/web_test.js');

withPage('', {}, async (browser) => {
  await browser.screen(390, 844, true, 2);
  await waitFor(browser, "!document.getElementById('quorvane-controls').hidden", 'the controls');
  const at = await evaluate(browser, 'QuorvanePage.presented');
  await waitFor(browser, `QuorvanePage.presented >= ${at + 120}`, 'two seconds of the scene');
  // The DevTools' own capture: it keeps the phone's screen that puppeteer's would reset.
  const { data } = await browser.cdp.send('Page.captureScreenshot', { format: 'png' });
  require('fs').writeFileSync(out, Buffer.from(data, 'base64'));
}).catch((error) => {
  console.error(error.message);
  process.exit(1);
});
