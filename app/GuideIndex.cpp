#include "app/GuideIndex.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>

namespace orvane {

namespace {

std::string lowerCase(std::string text)
{
    for (char &c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool isSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

HtmlTag parseTag(std::string_view inside)
{
    HtmlTag tag;
    size_t at = 0;
    if (at < inside.size() && inside[at] == '/') {
        tag.closing = true;
        ++at;
    }
    const auto word = [&] {
        const size_t start = at;
        while (at < inside.size() && !isSpace(inside[at]) && inside[at] != '=' && inside[at] != '/'
               && inside[at] != '>')
            ++at;
        return lowerCase(std::string(inside.substr(start, at - start)));
    };
    tag.name = word();
    while (at < inside.size()) {
        while (at < inside.size() && (isSpace(inside[at]) || inside[at] == '/'))
            ++at;
        if (at >= inside.size())
            break;
        const std::string name = word();
        std::string value;
        if (at < inside.size() && inside[at] == '=') {
            ++at;
            if (at < inside.size() && (inside[at] == '"' || inside[at] == '\'')) {
                const char quote = inside[at++];
                const size_t end = inside.find(quote, at);
                value = std::string(inside.substr(at, end - at));
                at = end == std::string_view::npos ? inside.size() : end + 1;
            } else {
                const size_t start = at;
                while (at < inside.size() && !isSpace(inside[at]))
                    ++at;
                value = std::string(inside.substr(start, at - start));
            }
        }
        if (name.empty())
            ++at; // a stray character; skip it rather than loop
        else
            tag.attributes[name] = value;
    }
    return tag;
}

std::string decodeEntities(std::string_view text)
{
    static const std::map<std::string, std::string, std::less<>> kEntities = {
        {"amp", "&"},
        {"lt", "<"},
        {"gt", ">"},
        {"quot", "\""},
        {"apos", "'"},
        {"nbsp", " "},
        {"hellip", "..."},
        {"deg", "\xC2\xB0"},
    };
    std::string out;
    for (size_t at = 0; at < text.size(); ++at) {
        const size_t end = text[at] == '&' ? text.find(';', at) : std::string_view::npos;
        if (end != std::string_view::npos && end - at <= 8) {
            const std::string_view name = text.substr(at + 1, end - at - 1);
            if (const auto it = kEntities.find(name); it != kEntities.end()) {
                out += it->second;
                at = end;
                continue;
            }
        }
        out += text[at];
    }
    return out;
}

std::string trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

int headingLevel(const std::string &tagName)
{
    if (tagName.size() == 2 && tagName[0] == 'h' && tagName[1] >= '1' && tagName[1] <= '3')
        return tagName[1] - '0';
    return 0;
}

std::vector<std::string> queryWords(const std::string &query)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : query + ' ') {
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-') {
            word += char(std::tolower(static_cast<unsigned char>(c)));
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}

int occurrences(const std::string &text, const std::string &word)
{
    int count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++count;
    return count;
}

} // namespace

void scanGuideHtml(const std::string &html,
                   const std::function<void(const HtmlTag &)> &onTag,
                   const std::function<void(const std::string &)> &onText)
{
    bool inHead = false;
    size_t at = 0;
    while (at < html.size()) {
        if (html.compare(at, 4, "<!--") == 0) {
            const size_t end = html.find("-->", at);
            at = end == std::string::npos ? html.size() : end + 3;
            continue;
        }
        if (html[at] == '<') {
            const size_t end = html.find('>', at);
            if (end == std::string::npos)
                break;
            const HtmlTag tag = parseTag(std::string_view(html).substr(at + 1, end - at - 1));
            if (tag.name == "head")
                inHead = !tag.closing;
            else if (!inHead)
                onTag(tag);
            at = end + 1;
            continue;
        }
        const size_t end = std::min(html.find('<', at), html.size());
        if (!inHead)
            onText(decodeEntities(std::string_view(html).substr(at, end - at)));
        at = end;
    }
}

void appendShownText(std::string &to, const std::string &text)
{
    for (char c : text) {
        if (isSpace(c)) {
            if (!to.empty() && to.back() != ' ')
                to += ' ';
        } else {
            to += c;
        }
    }
}

std::vector<GuideSection> guideSections(const std::string &page, const std::string &html)
{
    std::vector<GuideSection> sections;
    bool inHeading = false;
    scanGuideHtml(
        html,
        [&](const HtmlTag &tag) {
            const int level = headingLevel(tag.name);
            if (level && !tag.closing) {
                sections.push_back({page, {}, {}, level, {}});
                inHeading = true;
            } else if (level && tag.closing && !sections.empty()) {
                inHeading = false;
                sections.back().title = trimmed(sections.back().title);
            } else if (inHeading && tag.name == "a" && tag.attributes.contains("name")) {
                sections.back().anchor = tag.attributes.at("name");
            } else if (!sections.empty() && !inHeading) {
                // Cells and lines would otherwise run into each other.
                appendShownText(sections.back().text, " ");
            }
        },
        [&](const std::string &text) {
            if (sections.empty())
                return;
            appendShownText(inHeading ? sections.back().title : sections.back().text, text);
        });
    for (GuideSection &section : sections)
        section.text = trimmed(section.text);
    return sections;
}

std::vector<GuideLink> guideLinks(const std::string &html)
{
    std::vector<GuideLink> links;
    scanGuideHtml(
        html,
        [&](const HtmlTag &tag) {
            if (tag.closing)
                return;
            if (tag.name == "a" && tag.attributes.contains("href"))
                links.push_back({tag.attributes.at("href"), false});
            else if (tag.name == "img" && tag.attributes.contains("src"))
                links.push_back({tag.attributes.at("src"), true});
        },
        [](const std::string &) {});
    return links;
}

std::vector<std::string> guideAnchors(const std::string &html)
{
    std::vector<std::string> anchors;
    scanGuideHtml(
        html,
        [&](const HtmlTag &tag) {
            if (tag.name == "a" && tag.attributes.contains("name"))
                anchors.push_back(tag.attributes.at("name"));
            if (tag.attributes.contains("id"))
                anchors.push_back(tag.attributes.at("id"));
        },
        [](const std::string &) {});
    return anchors;
}

std::vector<std::string> guidePages(const std::string &contentsHtml)
{
    std::vector<std::string> pages = {kGuideContentsPage};
    for (const GuideLink &link : guideLinks(contentsHtml)) {
        const std::string page = link.target.substr(0, link.target.find('#'));
        if (link.image || page.empty() || page.find(':') != std::string::npos)
            continue;
        if (std::find(pages.begin(), pages.end(), page) == pages.end())
            pages.push_back(page);
    }
    return pages;
}

std::vector<size_t> searchGuide(const std::vector<GuideSection> &sections, const std::string &query)
{
    const std::vector<std::string> words = queryWords(query);
    if (words.empty())
        return {};
    std::vector<std::pair<int, size_t>> scored; // (score, index)
    for (size_t k = 0; k < sections.size(); ++k) {
        const std::string title = lowerCase(sections[k].title);
        const std::string text = lowerCase(sections[k].text);
        int score = 0;
        bool all = true;
        for (const std::string &word : words) {
            const int inTitle = occurrences(title, word);
            const int inText = occurrences(text, word);
            if (inTitle + inText == 0) {
                all = false;
                break;
            }
            constexpr int kTitleWeight = 10;
            score += kTitleWeight * inTitle + inText;
        }
        if (all)
            scored.emplace_back(score, k);
    }
    std::stable_sort(scored.begin(), scored.end(), [](const auto &a, const auto &b) {
        return a.first > b.first;
    });
    std::vector<size_t> found;
    for (const auto &[score, index] : scored)
        found.push_back(index);
    return found;
}

} // namespace orvane
