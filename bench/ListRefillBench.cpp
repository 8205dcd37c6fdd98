// Times the refill of the character list (sort, row texts, rows) for 256, 4096 and 65536
// characters, against the row texts alone as the baseline, and one keystroke in the code field of
// the last character (recode, cell rewrite, index rebuild) at the same sizes.
//
// Usage: QT_QPA_PLATFORM=offscreen glyfora_bench_lists [repetitions]

#include "app/editing/CharacterEditor.h"
#include "app/windows/GlyphSpinBox.h"
#include "views/ListTexts.h"

#include <QApplication>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using glyfora::document::Character;
using glyfora::document::Typeface;

double MedianMilliseconds(int repetitions, const std::function<void()>& work) {
    std::vector<double> samples;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto stop = std::chrono::steady_clock::now();
        samples.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Characters with descending codes, so that every refill sorts the list once more.
void Fill(Typeface& typeface, std::int64_t count) {
    typeface.Content.Characters.Clear();
    for (std::int64_t i = 0; i < count; ++i) {
        Character& character = glyfora::document::AddCharacter(typeface, count - 1 - i);
        character.Source = {i % 4000, i / 4000, 12, 14};
        character.Outlay = {-1, 2, 13, 16};
    }
    glyfora::document::RebuildIndexes(typeface);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    glyfora::app::AppState state;
    Typeface& typeface =
        *glyfora::document::CreateTypeface(state.Registry, glyfora::app::TypefaceId);
    glyfora::app::EditingContext context{state, {}, {}, {}, {}, {}, {}};
    QTreeWidget list;
    list.setColumnCount(6);
    QPushButton copy;
    QPushButton remove;
    QSpinBox code;
    code.setRange(0, 65535);
    glyfora::app::GlyphSpinBox glyph;
    context.Characters = {&list, &remove, &copy, {&code, &glyph}, {}};

    std::printf("%8s %14s %14s %8s %16s\n", "chars", "texts ms", "refill ms", "ratio",
                "keystroke ms");
    for (const std::int64_t count : {256, 4096, 65536}) {
        Fill(typeface, count);
        const double texts = MedianMilliseconds(repetitions, [&typeface] {
            std::size_t units = 0;
            for (const Character& character : typeface.Content.Characters) {
                for (int column = 0; column < 6; ++column) {
                    units += glyfora::views::CharacterCellText(
                                 character, static_cast<glyfora::views::CharacterColumn>(column))
                                 .size();
                }
            }
            if (units == 0) {
                std::abort();
            }
        });
        const double refill = MedianMilliseconds(repetitions, [&] {
            Fill(typeface, count); // unsorted again; the fill is cheap next to the rows
            glyfora::app::RefillCharacterList(context, nullptr);
        });
        list.setCurrentItem(list.topLevelItem(list.topLevelItemCount() - 1));
        int next = 0;
        const double keystroke = MedianMilliseconds(repetitions, [&] {
            code.setValue(1000 + (next++ % 2)); // the code handler, as typing would run it
            glyfora::app::OnCharacterCodeChanged(context);
        });
        std::printf("%8lld %14.2f %14.2f %8.1f %16.3f\n", static_cast<long long>(count), texts,
                    refill, refill / texts, keystroke);
    }
    return 0;
}
