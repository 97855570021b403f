#include "app/portable/order_file.h"

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";
constexpr std::u16string_view kRootName = u"NULL";

std::u16string HeaderLine(std::u16string_view parentPath)
{
    std::u16string header;
    AppendOrderHeader(header, parentPath);
    return header;
}

} // namespace

std::vector<std::u16string_view> FindOrderRecord(std::u16string_view text,
                                                 std::u16string_view parentPath)
{
    std::vector<std::u16string_view> lines;
    const std::u16string header = HeaderLine(parentPath);

    // The header must start a line; a match inside another line names nothing.
    size_t pos = 0;
    for (;;) {
        pos = text.find(header, pos);
        if (pos == std::u16string_view::npos)
            return lines;
        if (pos == 0 || text.substr(0, pos).ends_with(kLineEnd))
            break;
        ++pos;
    }

    pos += header.size();
    while (pos < text.size()) {
        size_t end = text.find(kLineEnd, pos);
        if (end == std::u16string_view::npos)
            break;
        std::u16string_view line = text.substr(pos, end - pos);
        if (line.starts_with(u'*') || line.starts_with(u'|'))
            break;
        if (line.size() <= kOrderMaxPathLength)
            lines.push_back(line);
        pos = end + kLineEnd.size();
    }
    return lines;
}

std::vector<std::pair<size_t, size_t>> ApplyOrderRecord(
    const std::vector<std::u16string_view> &lines, std::vector<std::u16string_view> &paths)
{
    std::vector<std::pair<size_t, size_t>> swaps;
    size_t target = 0;
    for (std::u16string_view line : lines) {
        // Items before the target were placed by earlier lines; a repeated line leaves them.
        size_t found = target;
        while (found < paths.size() && paths[found] != line)
            ++found;
        if (found == paths.size())
            continue;
        if (found != target) {
            std::swap(paths[found], paths[target]);
            swaps.emplace_back(found, target);
        }
        ++target;
    }
    return swaps;
}

bool IsOrderedItem(std::u16string_view path, bool isEmptyMarker)
{
    return !isEmptyMarker && !path.starts_with(u'*');
}

void AppendOrderHeader(std::u16string &text, std::u16string_view parentPath)
{
    text += u'*';
    text += parentPath.empty() ? kRootName : parentPath;
    text += kLineEnd;
}

void AppendOrderLine(std::u16string &text, std::u16string_view path)
{
    text += path;
    text += kLineEnd;
}

void AppendOrderEndMark(std::u16string &text)
{
    text += u'|';
}
