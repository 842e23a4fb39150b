#include "korvelin/ReportWriter.h"

#include "korvelin/NumberFormat.h"

#include <cstring>

namespace korvelin {
namespace {

constexpr std::size_t kColumnGap = 18;

// A line is put together in a buffer on the stack and appended to the report at once; longer
// lines, and numbers the short format leaves, take the report's own appends.
constexpr std::size_t kLineRoom = 512;

char* Blanks(char* out, std::size_t count) noexcept
{
    std::memset(out, ' ', count);
    return out + count;
}

char* Text(char* out, std::string_view text) noexcept
{
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

}  // namespace

void ReportWriter::AppendValue(std::string_view label, double value)
{
    if (lines_ == nullptr) {
        return;
    }
    lines_->AppendWritten([&](std::string& text) {
        char line[kLineRoom];
        if (label.size() + kShortFixed3Length <= kLineRoom) {
            if (const char* end = WriteShortFixed3(Text(line, label), value, separator_)) {
                text.append(line, static_cast<std::size_t>(end - line));
                return;
            }
        }
        text += label;
        AppendFixed3(text, value, separator_);
    });
}

void ReportWriter::AppendTwoColumns(std::string_view label, int blanks, double valueSP,
                                    double valueSNiP)
{
    if (lines_ == nullptr) {
        return;
    }
    const auto blankCount = static_cast<std::size_t>(blanks);
    lines_->AppendWritten([&](std::string& text) {
        char line[kLineRoom];
        if (label.size() + blankCount + kColumnGap + 2 * kShortFixed3Length <= kLineRoom) {
            char* end = WriteShortFixed3(Blanks(Text(line, label), blankCount), valueSP, separator_);
            if (end != nullptr) {
                end = WriteShortFixed3(Blanks(end, kColumnGap), valueSNiP, separator_);
            }
            if (end != nullptr) {
                text.append(line, static_cast<std::size_t>(end - line));
                return;
            }
        }
        text += label;
        text.append(blankCount, ' ');
        AppendFixed3(text, valueSP, separator_);
        text.append(kColumnGap, ' ');
        AppendFixed3(text, valueSNiP, separator_);
    });
}

void ReportWriter::AppendBlanked(std::size_t blanks, std::string_view text, std::size_t moreBlanks,
                                 std::string_view moreText)
{
    if (lines_ == nullptr) {
        return;
    }
    lines_->AppendWritten([&](std::string& out) {
        out.append(blanks, ' ').append(text).append(moreBlanks, ' ').append(moreText);
    });
}

}  // namespace korvelin
