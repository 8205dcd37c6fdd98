// The JSON variant of load-bmfont, fontbm and msdf-bmfont-xml: one object with "pages" (file
// names in id order), "chars" and "kernings" (arrays of objects), "info" and "common" (objects;
// "padding" and "spacing" as arrays of numbers) and any further record as an object of its own
// ("distanceField"). Both directions go through the records the text and XML variants share.

#include "base/Utf8.h"
#include "formats/bmfont/BmFontModel.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <string_view>

namespace glyfora::formats {

namespace {

// Deeper than any descriptor goes; hostile input cannot make the reader's stack grow further.
constexpr std::size_t MaxDepth = 32;

std::string FromDouble(double value) {
    // Fractions (msdf-bmfont-xml writes some) round to the nearest pixel; the number reader
    // saturates what lies beyond the 32-bit range.
    constexpr double Limit = 4294967296.0;
    if (std::isnan(value)) {
        return "0";
    }
    return std::to_string(
        static_cast<std::int64_t>(std::llround(std::clamp(value, -Limit, Limit))));
}

// Turns the events of nlohmann's SAX parser into records. Levels: 1 the root object, 2 its
// members, 3 the elements of "chars" and "kernings", and below a record a list of numbers.
class RecordReader final : public nlohmann::json_sax<nlohmann::json> {
public:
    BmFont Font;
    std::string Error;
    bool RootIsObject = false;

    bool null() override { return Scalar(""); }
    bool boolean(bool value) override { return Scalar(value ? "1" : "0"); }
    bool number_integer(number_integer_t value) override { return Scalar(std::to_string(value)); }
    bool number_unsigned(number_unsigned_t value) override {
        return Scalar(std::to_string(value)); // the number reader saturates it
    }
    bool number_float(number_float_t value, const string_t& /*text*/) override {
        return Scalar(FromDouble(value));
    }
    bool string(string_t& value) override { return Scalar(value, true); }
    bool binary(binary_t& /*value*/) override { return true; }

    bool start_object(std::size_t /*elements*/) override {
        if (!Enter(false)) {
            return false;
        }
        if (path_.size() == 1) {
            RootIsObject = true;
        } else if (path_.size() == 2 && rootKey_ != "pages") {
            StartRecord(rootKey_);
        } else if (path_.size() == 3 && (rootKey_ == "chars" || rootKey_ == "kernings")) {
            StartRecord(rootKey_ == "chars" ? "char" : "kerning");
        }
        return true;
    }
    bool end_object() override { return Leave(); }
    bool start_array(std::size_t /*elements*/) override {
        if (!Enter(true)) {
            return false;
        }
        if (InRecord() && path_.size() == recordLevel_ + 1) {
            list_.emplace();
        }
        return true;
    }
    bool end_array() override { return Leave(); }
    bool key(string_t& value) override {
        if (path_.size() == 1) {
            rootKey_ = value;
        } else {
            key_ = value;
        }
        return true;
    }
    bool parse_error(std::size_t position, const std::string& /*token*/,
                     const nlohmann::detail::exception& error) override {
        // nlohmann's messages read "[json.exception.…] parse error at line L, column C: why" or
        // "[json.exception.…] why".
        std::string what = error.what();
        what.erase(0, what.find("] ") == std::string::npos ? 0 : what.find("] ") + 2);
        const std::size_t at = what.find(" at line ");
        Error = "is not well-formed at " + (at == std::string::npos
                                                ? "byte " + std::to_string(position) + ": " + what
                                                : what.substr(at + 4));
        return false;
    }

private:
    struct Level {
        bool Array = false;
        std::size_t Elements = 0; // of an array, so far
    };
    std::vector<Level> path_;
    std::string rootKey_;
    std::string key_;
    std::optional<BmFontRecord> record_;
    std::size_t recordLevel_ = 0;
    std::optional<std::string> list_; // numbers of a list value, comma-separated

    bool Enter(bool array) {
        if (path_.size() >= MaxDepth) {
            Error = "is nested deeper than " + std::to_string(MaxDepth) + " levels";
            return false;
        }
        path_.push_back({array, 0});
        return true;
    }

    bool Leave() {
        if (list_ && path_.size() == recordLevel_ + 1) {
            record_->Fields.push_back({key_, *list_, false});
            list_.reset();
        } else if (record_ && path_.size() == recordLevel_) {
            AddBmFontRecord(Font, *record_);
            record_.reset();
        }
        path_.pop_back();
        return true;
    }

    [[nodiscard]] bool InRecord() const { return record_.has_value(); }

    void StartRecord(const std::string& tag) {
        record_ = BmFontRecord{tag, {}};
        recordLevel_ = path_.size();
    }

    bool Scalar(const std::string& value, bool quoted = false) {
        if (path_.size() == 2 && path_.back().Array && rootKey_ == "pages" && quoted) {
            const auto id = static_cast<std::int64_t>(path_.back().Elements);
            AddBmFontRecord(Font, {"page", {{"id", std::to_string(id)}, {"file", value, true}}});
        } else if (InRecord() && path_.size() == recordLevel_) {
            record_->Fields.push_back({key_, value, quoted});
        } else if (list_ && path_.size() == recordLevel_ + 1 && !quoted) {
            *list_ += (list_->empty() ? "" : ",") + value;
        }
        if (!path_.empty()) {
            ++path_.back().Elements;
        }
        return true;
    }
};

// Whole numbers separated by commas, as the records write numbers and lists.
bool IsNumberList(std::string_view text) {
    bool digit = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == ',' && digit) {
            digit = false;
        } else if (c != '-' || (i > 0 && text[i - 1] != ',')) {
            return false;
        }
    }
    return digit;
}

// Field values as JSON: numbers as numbers, lists of them as arrays, everything else (names, the
// distance field's type) as strings.
void AppendValue(std::string& out, const BmFontField& field) {
    if (field.Quoted || !IsNumberList(field.Value)) {
        out += nlohmann::json(field.Value).dump();
    } else if (field.Value.find(',') != std::string::npos) {
        out += '[' + field.Value + ']';
    } else {
        out += field.Value;
    }
}

void AppendObject(std::string& out, const BmFontRecord& record) {
    out += '{';
    for (std::size_t i = 0; i < record.Fields.size(); ++i) {
        out += (i == 0 ? "\"" : ",\"") + record.Fields[i].Key + "\":";
        AppendValue(out, record.Fields[i]);
    }
    out += '}';
}

// The records of one array ("chars" of "char" records …), one element a line.
void AppendArray(std::string& out, const char* name, const std::vector<BmFontRecord>& records,
                 const char* tag) {
    out += std::string("\"") + name + "\":[";
    bool first = true;
    for (const BmFontRecord& record : records) {
        if (record.Tag == tag) {
            out += first ? "\n" : ",\n";
            AppendObject(out, record);
            first = false;
        }
    }
    out += "],\n";
}

} // namespace

std::optional<BmFont> ParseBmFontJson(std::span<const std::uint8_t> bytes,
                                      std::vector<std::string>& warnings) {
    RecordReader reader;
    const bool parsed = nlohmann::json::sax_parse(bytes.begin(), bytes.end(), &reader);
    if (!reader.RootIsObject) {
        warnings.push_back("the JSON " +
                           (reader.Error.empty() ? "is not an object" : reader.Error));
        return std::nullopt;
    }
    if (!parsed) {
        warnings.push_back("the JSON " + reader.Error + "; what came before was read");
    }
    return std::move(reader.Font);
}

base::Result<std::vector<std::uint8_t>> EncodeBmFontJson(const BmFont& font) {
    if (base::Result<base::Done> fits = CheckBmFontTextRanges(font); !fits) {
        return base::Failure{std::move(fits.Error)};
    }
    const std::vector<BmFontRecord> records = BmFontRecords(font);
    for (const BmFontRecord& record : records) {
        for (const BmFontField& field : record.Fields) {
            if (field.Quoted && !base::ValidUtf8(field.Value, base::Utf8Policy::Reject)) {
                return base::Failure{"the " + record.Tag + " " + field.Key +
                                     " is not UTF-8, which JSON cannot hold"};
            }
        }
    }
    std::string out = "{\"pages\":[";
    for (std::size_t i = 0; i < font.Pages.size(); ++i) {
        out += (i == 0 ? "" : ",") + nlohmann::json(font.Pages[i].File).dump();
    }
    out += "],\n";
    AppendArray(out, "chars", records, "char");
    AppendArray(out, "kernings", records, "kerning");
    bool first = true;
    for (const BmFontRecord& record : records) {
        if (record.Tag == "page" || record.Tag == "chars" || record.Tag == "char" ||
            record.Tag == "kernings" || record.Tag == "kerning") {
            continue;
        }
        out += (first ? "\"" : ",\n\"") + record.Tag + "\":";
        AppendObject(out, record);
        first = false;
    }
    out += "}\n";
    return std::vector<std::uint8_t>(out.begin(), out.end());
}

} // namespace glyfora::formats
