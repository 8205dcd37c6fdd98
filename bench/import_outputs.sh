#!/usr/bin/env bash
# Imports a table of option sets through glyfora-cli import and keeps every output: the .tf file,
# the same typeface converted to the three BMFont variants for some sets, and each run's exit
# status, standard output and warnings. With REFDIR, every file is compared byte for byte with the
# one of the same name there (made the same way by another build), and the command fails when any
# differs or is missing on either side. A change that must not change what an import makes is
# checked by running this once with the program before the change and once after.
# Usage: bench/import_outputs.sh CLI OUTDIR [REFDIR]
set -euo pipefail
if (($# < 2)); then
    echo "usage: $0 CLI OUTDIR [REFDIR]" >&2
    exit 2
fi
cli=$1
outdir=$2
refdir=${3:-}
# fontconfig keeps its caches to the end; a sanitizer build would report them and fail the run.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
mkdir -p "$outdir"
rm -f "$outdir"/*

# A text for --chars-file: Latin, Cyrillic, CJK (drawn by a fallback) and a line break.
printf 'Hello, Glyfora! \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82\n\xe6\x96\x87\xe5\xad\x97 \xe2\x82\xac\n' \
    >"$outdir/text.input"

# name | options after --family FAMILY --size N (shell words) | BMFont variants to convert to
sets=(
    "rows-default|--family 'DejaVu Sans' --size 24|text"
    "rows-jobs1|--family 'DejaVu Sans' --size 24 --jobs 1|"
    "rows-jobs2|--family 'DejaVu Sans' --size 24 --jobs 2|"
    "rows-unicode|--family 'DejaVu Sans' --size 16 --unicode --jobs 2|"
    "rows-unicode-jobs1|--family 'DejaVu Sans' --size 16 --unicode --jobs 1|"
    "rows-one-row|--family 'DejaVu Sans' --size 20 --max-width 0|xml"
    "rows-narrow|--family 'Nimbus Sans' --size 30 --max-width 64|"
    "rows-wide|--family 'DejaVu Serif' --size 40 --max-width 16384|"
    "rows-paddings|--family 'DejaVu Sans' --size 24 --padding-top 3 --padding-bottom 2 --padding-left 4 --padding-right 1 --letter-space 2|binary"
    "rows-negative-paddings|--family 'DejaVu Sans' --size 24 --padding-top -3 --padding-left -2 --letter-space -1|"
    "rows-center-half|--family 'Nimbus Sans' --size 17 --center --half-pixel|"
    "rows-styles|--family 'DejaVu Sans' --size 22 --bold --italic --underline|"
    "rows-bold-synthetic|--family 'Nimbus Mono PS' --size 18 --bold|"
    "rows-hint0|--family 'DejaVu Sans' --size 15 --hint 0|"
    "rows-hint1|--family 'DejaVu Sans' --size 15 --hint 1|"
    "rows-hint2|--family 'DejaVu Sans' --size 15 --hint 2|"
    "rows-hint3|--family 'DejaVu Sans' --size 15 --hint 3 --quality 2|"
    "rows-hint5|--family 'DejaVu Sans' --size 15 --hint 5 --quality 3|"
    "rows-quality0|--family 'DejaVu Sans' --size 15 --quality 0|"
    "rows-quality4|--family 'DejaVu Sans' --size 15 --quality 4|"
    "rows-chars|--family 'DejaVu Sans' --size 24 --chars '32-126, 0xA0-0xFF, U+0400-U+04FF'|"
    "rows-chars-file|--family 'DejaVu Sans' --size 24 --chars-file TEXT --chars 'U+0041-U+0045'|"
    "rows-fallback|--family 'DejaVu Sans' --size 24 --chars-file TEXT --fallback 'WenQuanYi Zen Hei' --fallback 'Missing Fallback Family'|text"
    "rows-fallback-unused|--family 'DejaVu Sans' --size 24 --chars 65-70 --fallback 'WenQuanYi Zen Hei'|"
    "rows-fallback-all|--family 'Nimbus Sans' --size 12 --fallback 'DejaVu Sans' --jobs 2|"
    "rows-missing-family|--family 'No Such Family' --size 20|"
    "rows-uncovered|--family 'DejaVu Sans' --size 20 --chars '0x41, 0x4E00-0x4E03, 0x1F600'|"
    "rows-power-of-two-ignored|--family 'DejaVu Sans' --size 24 --power-of-two --gutter 5|"
    "compact-default|--family 'DejaVu Sans' --size 24 --layout compact|text"
    "compact-square|--family 'DejaVu Sans' --size 24 --layout compact --max-width 0 --gutter 1|xml"
    "compact-jobs1|--family 'DejaVu Sans' --size 24 --layout compact --jobs 1|"
    "compact-jobs2|--family 'DejaVu Sans' --size 24 --layout compact --jobs 2|"
    "compact-unicode|--family 'DejaVu Sans' --size 16 --layout compact --unicode --max-width 0 --jobs 2|binary"
    "compact-power-of-two|--family 'DejaVu Sans' --size 24 --layout compact --max-width 0 --power-of-two --gutter 3|"
    "compact-gutter0|--family 'Nimbus Sans' --size 28 --layout compact --max-width 256 --gutter 0|"
    "compact-paddings|--family 'DejaVu Sans' --size 24 --layout compact --padding-top 2 --padding-bottom 1 --padding-left 3 --padding-right 2 --letter-space 1 --center --half-pixel|"
    "compact-negative-paddings|--family 'DejaVu Sans' --size 24 --layout compact --padding-left -2 --padding-top -1|"
    "compact-hint1|--family 'DejaVu Sans' --size 15 --layout compact --hint 1|"
    "compact-fallback|--family 'DejaVu Sans' --size 24 --layout compact --chars-file TEXT --fallback 'WenQuanYi Zen Hei'|"
    "compact-styles|--family 'DejaVu Serif' --size 26 --layout compact --bold --italic|"
    "fail-size0|--family 'DejaVu Sans' --size 0|"
    "fail-no-chars|--family 'DejaVu Sans' --size 24 --chars ' , '|"
    "fail-uncovered-only|--family 'DejaVu Sans' --size 24 --chars 0x4E00|"
    "fail-empty-cells|--family 'DejaVu Sans' --size 4 --padding-top -100 --padding-bottom -100|"
    "compact-no-width-cells|--family 'DejaVu Sans' --size 4 --layout compact --padding-left -100 --padding-right -100|"
    "fail-compact-empty-cells|--family 'DejaVu Sans' --size 4 --layout compact --padding-top -100 --padding-bottom -100|"
    "fail-chars-file-missing|--family 'DejaVu Sans' --size 24 --chars-file NO-SUCH-FILE|"
    "fail-too-deep|--family 'DejaVu Sans' --size 128 --unicode --max-width 600|"
)

for row in "${sets[@]}"; do
    IFS='|' read -r name options variants <<<"$row"
    options=${options//TEXT/\"$outdir/text.input\"}
    options=${options//NO-SUCH-FILE/\"$outdir/no-such-file\"}
    eval "set -- $options"
    status=0
    "$cli" import "$@" -o "$outdir/$name.tf" >"$outdir/$name.stdout" 2>"$outdir/$name.stderr.raw" ||
        status=$?
    echo "$status" >"$outdir/$name.status"
    # Progress lines depend on the time taken; the output path on OUTDIR.
    grep -v '% (' "$outdir/$name.stderr.raw" | sed "s|$outdir/||g" >"$outdir/$name.stderr" || true
    sed -i "s|$outdir/||g" "$outdir/$name.stdout"
    rm "$outdir/$name.stderr.raw"
    for variant in $variants; do
        if [[ -f $outdir/$name.tf ]]; then
            "$cli" convert "$outdir/$name.tf" "$outdir/$name-$variant.fnt" --fnt "$variant" \
                >/dev/null
        fi
    done
    echo "$name: status $status"
done

if [[ -n $refdir ]]; then
    differing=0
    compared=0
    for file in "$refdir"/* "$outdir"/*; do
        base=$(basename "$file")
        [[ -e $refdir/$base && -e $outdir/$base ]] || {
            echo "only on one side: $base"
            differing=$((differing + 1))
            continue
        }
        [[ $file == "$refdir"/* ]] || continue
        compared=$((compared + 1))
        cmp -s "$refdir/$base" "$outdir/$base" || {
            echo "differs: $base"
            differing=$((differing + 1))
        }
    done
    echo "$compared files compared, $differing differ or are missing"
    ((differing == 0))
fi
