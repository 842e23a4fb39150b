#include "korvelin/ReportWriter.h"

#include "korvelin/NumberFormat.h"

#include <cstring>
#include <string>

namespace korvelin {
namespace {

constexpr std::size_t kColumnGap = 18;

char* Blanks(char* out, std::size_t count) noexcept
{
    std::memset(out, ' ', count);
    return out + count;
}

char* Text(char* out, std::string_view text) noexcept
{
    if (!text.empty()) {  // an empty view may have no address, which memcpy must not be given
        std::memcpy(out, text.data(), text.size());
    }
    return out + text.size();
}

}  // namespace

void ReportWriter::AppendValue(std::string_view label, double value)
{
    if (lines_ == nullptr) {
        return;
    }
    if (!lines_->TryAppendWritten(label.size() + kShortFixed3Length, [&](char* out) {
            return WriteShortFixed3(Text(out, label), value, separator_);
        })) {
        std::string line(label);
        AppendFixed3(line, value, separator_);
        lines_->push_back(line);
    }
}

void ReportWriter::AppendTwoColumns(std::string_view label, int blanks, double valueSP,
                                    double valueSNiP)
{
    if (lines_ == nullptr) {
        return;
    }
    const auto blankCount = static_cast<std::size_t>(blanks);
    const std::size_t room = label.size() + blankCount + kColumnGap + 2 * kShortFixed3Length;
    if (!lines_->TryAppendWritten(room, [&](char* out) -> char* {
            char* end = WriteShortFixed3(Blanks(Text(out, label), blankCount), valueSP, separator_);
            return end == nullptr ? nullptr : WriteShortFixed3(Blanks(end, kColumnGap), valueSNiP, separator_);
        })) {
        std::string line(label);
        line.append(blankCount, ' ');
        AppendFixed3(line, valueSP, separator_);
        line.append(kColumnGap, ' ');
        AppendFixed3(line, valueSNiP, separator_);
        lines_->push_back(line);
    }
}

void ReportWriter::AppendBlanked(std::size_t blanks, std::string_view text, std::size_t moreBlanks,
                                 std::string_view moreText)
{
    if (lines_ == nullptr) {
        return;
    }
    lines_->TryAppendWritten(blanks + text.size() + moreBlanks + moreText.size(), [&](char* out) {
        return Text(Blanks(Text(Blanks(out, blanks), text), moreBlanks), moreText);
    });
}

}  // namespace korvelin
