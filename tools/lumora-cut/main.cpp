// lumora-cut: cuts a saved listing page into its novel records, one per line, so that a
// maintainer can check the marker texts against a changed site.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>

#include "core/site_profile.h"
#include "harvest/listing_parser.h"

namespace {

int usage() {
    std::cerr << "usage: lumora-cut PAGE_FILE --kind finished|ongoing [--hosts HOST[:PORT]]\n"
                 "  --hosts: the site's hosts when they are not the ones this build was made for\n";
    return 2;
}

// A field's GBK bytes as they are, with tab, CR, LF and backslash escaped. Double-byte
// characters pass whole: their trail byte may be 0x5C (乗 is 81 5C) without being a backslash.
std::string escaped(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (static_cast<unsigned char>(c) >= 0x80 && i + 1 < field.size()) {
            out += c;
            out += field[++i];
            continue;
        }
        switch (c) {
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if ((argc != 4 && argc != 6) || std::string_view(argv[2]) != "--kind")
        return usage();
    if (argc == 6 && std::string_view(argv[4]) != "--hosts")
        return usage();
    const std::string_view kindName = argv[3];
    if (kindName != "finished" && kindName != "ongoing")
        return usage();
    const auto kind =
        kindName == "finished" ? lumora::CategoryKind::finished : lumora::CategoryKind::ongoing;

    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "lumora-cut: cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    const lumora::SiteProfile profile(argc == 6 ? lumora::siteHostsAt(argv[5])
                                                : lumora::defaultSiteHosts());
    lumora::ListingParser parser(profile);
    lumora::walkPageText(
        parser, lumora::textOf(page), kind,
        [](const lumora::NovelRecord& r) {
            std::cout << escaped(r.stem.bytes());
            for (const auto* field :
                 {&r.title, &r.author, &r.synopsis, &r.coverUrl, &r.textPageUrl, &r.archiveUrl}) {
                std::cout << '\t' << escaped(field->bytes());
            }
            std::cout << '\n';
        },
        [] {});
    return std::cout.good() ? 0 : 1;
}
