#include "report_text_layout.h"

#include <cstdint>

namespace morvane {

// The columns a UTF-8 text takes: one for each byte that is not a continuation byte (10xxxxxx),
// those being counted eight bytes at a time.
int ColumnsOf(std::string_view text) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    std::size_t continuation = 0;
    std::size_t k = 0;
    for (; k + 8 <= text.size(); k += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, text.data() + k, 8);
        // Bit 7 set and bit 6 (moved up to bit 7) clear, one mark per byte, summed by the product.
        const std::uint64_t marks = bytes & ~(bytes << 1) & kHighBits;
        continuation += ((marks >> 7) * kOnes) >> 56;
    }
    for (; k < text.size(); ++k)
        continuation += (static_cast<unsigned char>(text[k]) & 0xC0) == 0x80 ? 1 : 0;
    return static_cast<int>(text.size() - continuation);
}

void RenderStatement(const ReportStatement& statement, TextLayout& layout) {
    for (const ReportItem& item : statement) {
        switch (item.kind) {
        case ReportItem::Kind::Text:
            layout.text(item.text);
            break;
        case ReportItem::Kind::Number:
            layout.number(item.number);
            break;
        case ReportItem::Kind::Zone:
            layout.zone();
            break;
        case ReportItem::Kind::Column:
            layout.column(item.column);
            break;
        case ReportItem::Kind::PageBreak:
            break;
        }
    }
    layout.endStatement();
}

std::string RenderReportText(const ReportStatements& statements) {
    TextLayout layout(statements.size() * 48);
    for (const ReportStatement& statement : statements)
        if (!IsPageBreak(statement))
            RenderStatement(statement, layout);
    return std::move(layout).take();
}

} // namespace morvane
