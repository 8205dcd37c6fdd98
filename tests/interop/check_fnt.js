// Reads the .fnt and .json files written by glyfora_fnt_samples with the npm BMFont parsers (the
// JSON through load-bmfont, which reads a file as a loader does) and compares
// their glyphs, kernings and common fields with expected.json.
// Usage: node check_fnt.js FOLDER NODE_MODULES
// Exit status: 0 all equal, 1 a difference, 77 the parsers are not installed (test skipped).
'use strict';

const fs = require('fs');
const path = require('path');

const [folder, modules] = process.argv.slice(2).map((p) => path.resolve(p));
// Each reader takes a file's path and gives a promise of the font.
const fromBytes = (parse) => async (file) => parse(fs.readFileSync(file));
let parsers;
try {
    const load = require(path.join(modules, 'load-bmfont'));
    parsers = {
        'text.fnt': fromBytes(require(path.join(modules, 'parse-bmfont-ascii'))),
        'xml.fnt': fromBytes(require(path.join(modules, 'parse-bmfont-xml'))),
        'binary.fnt': fromBytes(require(path.join(modules, 'parse-bmfont-binary'))),
        'json.json': (file) =>
            new Promise((resolve, reject) =>
                load(file, (error, font) => (error ? reject(error) : resolve(font)))),
    };
} catch (error) {
    console.log('SKIP: BMFont parsers not available: ' + error.message);
    process.exit(77);
}

const expected = JSON.parse(fs.readFileSync(path.join(folder, 'expected.json'), 'utf8'));
const charKeys = ['id', 'x', 'y', 'width', 'height', 'xoffset', 'yoffset', 'xadvance', 'page'];
const kerningKeys = ['first', 'second', 'amount'];
let failures = 0;

function check(file, what, actual, wanted) {
    if (actual !== wanted) {
        console.log(`${file}: ${what} is ${JSON.stringify(actual)}, expected ${JSON.stringify(wanted)}`);
        failures++;
    }
}

function compareList(file, what, actual, wanted, keys) {
    check(file, `${what} count`, actual.length, wanted.length);
    wanted.forEach((entry, i) => {
        keys.forEach((key) => check(file, `${what}[${i}].${key}`, actual[i] && actual[i][key], entry[key]));
    });
}

async function main() {
    for (const [file, parse] of Object.entries(parsers)) {
        let font;
        try {
            font = await parse(path.join(folder, file));
        } catch (error) {
            console.log(`${file}: the parser refused it: ${error.message || error}`);
            failures++;
            continue;
        }
        check(file, 'info.face', font.info.face, expected.face);
        check(file, 'common.lineHeight', font.common.lineHeight, expected.lineHeight);
        check(file, 'common.base', font.common.base, expected.base);
        check(file, 'common.scaleW', font.common.scaleW, expected.scaleW);
        check(file, 'common.scaleH', font.common.scaleH, expected.scaleH);
        const names = Array.from({ length: expected.pages }, (_, page) =>
            file.replace(/\.(fnt|json)$/, `_${page}.png`));
        // parse-bmfont-xml's Node reader keeps only the first <page> of <pages> (it reads
        // page[0] of each <pages>); the other variants show that every page is listed.
        const listed = file === 'xml.fnt' ? names.slice(0, 1) : names;
        check(file, 'pages', JSON.stringify(font.pages), JSON.stringify(listed));
        check(file, 'common.pages', font.common.pages, expected.pages);
        compareList(file, 'chars', font.chars, expected.chars, charKeys);
        compareList(file, 'kernings', font.kernings, expected.kernings, kerningKeys);
        // Each glyph's ink where the typeface drew it before it was repacked: the reader puts the
        // cell at pen + (xoffset, yoffset), so the cell must be the ink and the offsets its place.
        (expected.ink || []).forEach((place) => {
            const glyph = font.chars.find((c) => c.id === place.id);
            ['xoffset', 'yoffset', 'width', 'height'].forEach((key) =>
                check(file, `ink of ${place.id}: ${key}`, glyph && glyph[key], place[key]));
        });
        console.log(`${file}: ${font.chars.length} chars, ${font.kernings.length} kernings read`);
    }
    process.exit(failures === 0 ? 0 : 1);
}
main();
