// The browser tests' way into the page: a system browser driven by puppeteer-core (never a
// browser of its own), the page opened from file:// as a user opens it, and every request it makes
// counted, since the page must make none. The browser is Debian's headless chromium, or with
// HCURVE_BROWSER=firefox Debian's firefox-esr (over WebDriver BiDi).
//
//   const ctx = await openPage({viewport: {width: 360, height: 800}});
//   ... ctx.page.type(...), ctx.page.keyboard.press('Enter') ...
//   assertNoRequests(ctx);
//   await closePage(ctx);
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import process from 'node:process';
import {fileURLToPath, pathToFileURL} from 'node:url';

import puppeteer from 'puppeteer-core';

// The repository's root: relative page files are taken from there, whatever the working folder.
export const repoRoot = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..', '..');

// The browsers the tests run in, each with its binary (HCURVE_CHROMIUM or HCURVE_FIREFOX names
// another one).
export const kBrowsers = {
    chromium: process.env.HCURVE_CHROMIUM || '/usr/bin/chromium',
    firefox: process.env.HCURVE_FIREFOX || '/usr/bin/firefox-esr',
};

// The browser of this run: HCURVE_BROWSER, chromium unless it says firefox.
export const browserName = process.env.HCURVE_BROWSER || 'chromium';
if (!(browserName in kBrowsers))
    throw new Error(`HCURVE_BROWSER=${browserName}: the tests run in ${Object.keys(kBrowsers).join(' or ')}`);
export const browserPath = kBrowsers[browserName];
export const inFirefox = browserName === 'firefox';
// Kept for the scripts that name chromium's binary.
export const chromiumPath = kBrowsers.chromium;

// Where a test's screenshot goes: docs/ for chromium's (the README shows them), build/web/firefox/
// for firefox's, which are looked at beside them and never replace them.
export function screenshotPath(name) {
    const folder = inFirefox ? path.join(repoRoot, 'build/web/firefox') : path.join(repoRoot, 'docs');
    fs.mkdirSync(folder, {recursive: true});
    return path.join(folder, name);
}

// How long the page may take to say it is ready. The page's own aim is 1 s; this limit only stops a
// hung test on a loaded machine, the figure itself is measured in bench/.
const kReadyTimeout_ms = 30000;

// Switches that keep the browser itself quiet on the network (no updates, no safe-browsing lists,
// no sync), so that a request seen is the page's own.
const kQuietBrowser = [
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-default-apps',
    '--disable-domain-reliability',
    '--disable-extensions',
    '--disable-sync',
    '--metrics-recording-only',
    '--no-default-browser-check',
    '--no-first-run',
    '--no-pings',
    '--disable-features=Translate,MediaRouter,OptimizationHints,InterestFeedContentSuggestions',
    '--disable-dev-shm-usage',
    '--disable-gpu',
];

// Firefox as a user has it where it matters to a page from file:// (puppeteer's test profile lets
// local files read each other; a user's Firefox gives each file an origin of its own), and quiet on
// the network beyond what puppeteer's profile already turns off. Its downloads panel stays shut: it
// opens over the page after each download and keeps the keyboard until it is closed, which a test
// typing on would have to close as a user does, with a click back into the page. Scroll bars
// float over the page, as on a phone and on today's desktops; a headless Firefox would otherwise
// take 12 px of a 360 px screen for a bar no phone has.
const kFirefoxPrefs = {
    'ui.useOverlayScrollbars': 1,
    'security.fileuri.strict_origin_policy': true,
    'browser.download.alwaysOpenPanel': false,
    'network.captive-portal-service.enabled': false,
    'network.connectivity-service.enabled': false,
    'network.dns.disablePrefetch': true,
    'network.prefetch-next': false,
};

// How long the browser stays open with no page, waiting for the test file's next openPage.
const kIdleClose_ms = 400;

let launched = null;  // the browser's launch (a promise), shared by the pages of one process
let launchedArgs = '';
let idleTimer = null;
let open = 0;  // pages opened and not yet closed

async function sharedBrowser(args) {
    if (idleTimer) {
        clearTimeout(idleTimer);
        idleTimer = null;
    }
    const key = JSON.stringify(args);
    if (launched && launchedArgs !== key && open === 0) {
        const closing = launched;
        launched = null;
        await closing.then((b) => b.close()).catch(() => {});
    }
    if (!launched) {
        launchedArgs = key;
        launched = puppeteer.launch(inFirefox ? {
            browser: 'firefox',
            executablePath: browserPath,
            headless: true,
            args,
            extraPrefsFirefox: kFirefoxPrefs,
            defaultViewport: null,
        } : {
            executablePath: browserPath,
            headless: true,
            args: [...(isRoot() ? ['--no-sandbox'] : []), ...kQuietBrowser, ...args],
            defaultViewport: null,
        });
        launched.catch(() => {
            launched = null;
        });
    }
    return launched;
}

function isRoot() {
    return typeof process.getuid === 'function' && process.getuid() === 0;
}

// A request's header by its name in any case; undefined when it has none.
function headerOf(request, name) {
    const found = Object.entries(request.headers()).find(([key]) => key.toLowerCase() === name);
    return found ? found[1] : undefined;
}

// The URL without its fragment, so that the page's own file is recognised whatever #... it has.
function withoutFragment(url) {
    const hash = url.indexOf('#');
    return hash < 0 ? url : url.slice(0, hash);
}

// Launches the browser, opens the page and waits until it can answer its first question.
//   viewport: CSS pixels (isMobile and hasTouch may be given, as puppeteer takes them; Firefox
//             over BiDi takes neither, so that a phone there is a window of the phone's size and
//             pixel ratio, with a mouse)
//   file:     the page, relative to the repository's root or absolute (opened from file://)
//   url:      instead of file, a page served over http (the site's test)
//   args:     further switches of the browser (a browser with other switches is launched for them)
//   waitReady: false to return as soon as the page has loaded, without waiting for
//             window.hcurveReady
// Returns {browser, context, page, requests, errors, readyMs}: requests lists every URL the page asked for
// other than the page itself and data:/blob: URLs (web sockets included); errors the page's
// uncaught exceptions and console errors; readyMs the page's clock when it was first seen ready
// (milliseconds from the start of its navigation).
export async function openPage({
    viewport = {width: 1280, height: 900},
    file = 'build/web/hcurve.html',
    url = undefined,
    waitReady = true,
    args = [],
} = {}) {
    let pageUrl = url;
    if (pageUrl === undefined) {
        const filePath = path.resolve(repoRoot, file);
        if (!fs.existsSync(filePath))
            throw new Error(`the page ${filePath} is not there: build it first (make web)`);
        pageUrl = pathToFileURL(filePath).href;
    }
    const browser = await sharedBrowser(args);
    // Each page in a browser context of its own: no storage, cache or service worker carried over
    // from the test before.
    const context = await browser.createBrowserContext();
    const ctx = {browser, context, page: null, requests: [], errors: [], readyMs: NaN};
    open += 1;
    try {
        const page = await context.newPage();
        ctx.page = page;
        await page.setViewport(viewport);
        const own = withoutFragment(pageUrl);
        page.on('request', (request) => {
            let asked = request.url();
            if (withoutFragment(asked) === own || asked.startsWith('data:') ||
                asked.startsWith('blob:'))
                return;
            // Firefox tells a web socket by its opening handshake, an http(s) request with a
            // web socket's key; chromium's devtools by its ws: URL, below.
            if (inFirefox && headerOf(request, 'sec-websocket-key') !== undefined)
                asked = asked.replace(/^http/, 'ws');
            ctx.requests.push(asked);
        });
        page.on('pageerror', (error) => ctx.errors.push(String(error && error.message || error)));
        page.on('console', (message) => {
            if (message.type() === 'error') ctx.errors.push(message.text());
        });
        if (!inFirefox) {
            const cdp = await page.createCDPSession();
            await cdp.send('Network.enable');
            cdp.on('Network.webSocketCreated', (event) => ctx.requests.push(event.url));
        }

        await page.goto(pageUrl, {waitUntil: 'load'});
        if (waitReady) {
            // The predicate answers the page's own clock (milliseconds since its navigation
            // began) at the first frame the flag is seen.
            const ready = await page
                .waitForFunction(() => window.hcurveReady === true && performance.now(),
                                 {timeout: kReadyTimeout_ms, polling: 'raf'})
                .catch(() => {
                    throw new Error(`the page did not set window.hcurveReady within ` +
                                    `${kReadyTimeout_ms} ms; its errors: ` +
                                    JSON.stringify(ctx.errors));
                });
            ctx.readyMs = await ready.jsonValue();
        }
        return ctx;
    } catch (error) {
        await closePage(ctx);
        throw error;
    }
}

// Closes the page's browser context. The browser itself is closed once no page is open for a
// moment, so that a test file's next openPage does not wait for a new launch, and the test's
// process still ends on its own.
export async function closePage(ctx) {
    if (!ctx || !ctx.context || ctx.closed) return;
    ctx.closed = true;
    open -= 1;
    await ctx.context.close().catch(() => {});
    if (open === 0 && launched) {
        idleTimer = setTimeout(() => {
            const closing = launched;
            launched = null;
            idleTimer = null;
            closing.then((b) => b.close()).catch(() => {});
        }, kIdleClose_ms);
    }
}

// Fails the test when the page asked for anything beyond its own file.
export function assertNoRequests(ctx) {
    assert.deepEqual(ctx.requests, [], `the page made network requests: ${ctx.requests.join(', ')}`);
}

// Lets the page's downloads land in dir (made if missing) under the names the page gives them.
// Returns {dir, next(timeout_ms)}: next() resolves to the path of the next download completed
// (in the order they complete) and rejects when one is cancelled or none completes in time.
export async function downloadsTo(page, dir) {
    const folder = path.resolve(dir);
    fs.mkdirSync(folder, {recursive: true});
    const done = [];
    const waiting = [];
    const settle = (entry) => {
        const waiter = waiting.shift();
        if (waiter)
            waiter(entry);
        else
            done.push(entry);
    };
    if (inFirefox)
        await firefoxDownloads(page, folder, settle);
    else
        await chromiumDownloads(page, folder, settle);
    return {
        dir: folder,
        next(timeout_ms = 10000) {
            const entry = done.shift();
            const got = entry ? Promise.resolve(entry) : new Promise((resolve, reject) => {
                const timer = setTimeout(() => {
                    const at = waiting.indexOf(take);
                    if (at >= 0) waiting.splice(at, 1);
                    reject(new Error(`no download completed within ${timeout_ms} ms`));
                }, timeout_ms);
                const take = (e) => {
                    clearTimeout(timer);
                    resolve(e);
                };
                waiting.push(take);
            });
            return got.then((e) => {
                if (e.error) throw e.error;
                return e.path;
            });
        },
    };
}

// Chromium's downloads through its devtools: the name is the one the page suggested.
async function chromiumDownloads(page, folder, settle) {
    const contextId = page.browserContext().id;
    const cdp = await page.browser().target().createCDPSession();
    const names = new Map();
    cdp.on('Browser.downloadWillBegin',
           (event) => names.set(event.guid, event.suggestedFilename));
    cdp.on('Browser.downloadProgress', (event) => {
        if (event.state === 'completed')
            settle({path: path.join(folder, names.get(event.guid))});
        else if (event.state === 'canceled')
            settle({error: new Error(`the download ${names.get(event.guid)} was cancelled`)});
    });
    await cdp.send('Browser.setDownloadBehavior',
                   {behavior: 'allow', downloadPath: folder, eventsEnabled: true,
                    ...(contextId ? {browserContextId: contextId} : {})});
}

// Firefox's downloads through WebDriver BiDi, for the page's own browsing context: the file is
// where Firefox says it put it (a name already taken there gets Firefox's own "(1)").
async function firefoxDownloads(page, folder, settle) {
    const connection = page.browser().connection;
    const contextId = page.browserContext().id;
    const tab = page.mainFrame()._id;
    const names = new Map();
    const began = (event) => {
        if (event.context === tab) names.set(event.url, event.suggestedFilename);
    };
    const ended = (event) => {
        if (event.context !== tab) return;
        if (event.status === 'complete')
            settle({path: event.filepath});
        else
            settle({error: new Error(`the download ${names.get(event.url) || event.url} was cancelled`)});
    };
    connection.on('browsingContext.downloadWillBegin', began);
    connection.on('browsingContext.downloadEnd', ended);
    page.once('close', () => {
        connection.off('browsingContext.downloadWillBegin', began);
        connection.off('browsingContext.downloadEnd', ended);
    });
    await connection.send('browser.setDownloadBehavior', {
        downloadBehavior: {type: 'allowed', destinationFolder: folder},
        ...(contextId ? {userContexts: [contextId]} : {}),
    });
}

// Puts text into the focused field as one input, as a paste or an input method does (chromium's
// devtools take it whole; puppeteer's BiDi keyboard takes one character at a time).
export async function insertText(page, text) {
    if (!inFirefox) {
        await page.keyboard.sendCharacter(text);
        return;
    }
    await page.evaluate((t) => document.execCommand('insertText', false, t), text);
}
