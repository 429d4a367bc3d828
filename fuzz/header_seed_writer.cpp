// Writes the header fuzzer's seed corpus into the folder given as the only argument: valid
// headers of every shape the fixture writer can make, and a few that fail at each step.

#include "fixtures/fixture_writer.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

using gridloom::fixtures::HeaderSpec;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    try {
        std::vector<std::pair<std::string, std::string>> seeds;
        const auto add = [&](const std::string& name, const std::string& text) {
            seeds.emplace_back(name, text);
        };
        const auto header = [](const HeaderSpec& spec) {
            return gridloom::fixtures::headerText(spec);
        };

        HeaderSpec spec;
        add("default", header(spec));
        spec.commentLines = 0;
        add("no-comments", header(spec));
        spec.commentLines = 3;
        spec.lineEnd = "\r\n";
        add("crlf", header(spec));
        spec = {};
        spec.indent = "   ";
        spec.separator = "    ";
        add("indented-wide", header(spec));
        spec = {};
        spec.gridSpacingKm = 0.333;
        spec.startStamp = "2004022923";
        spec.hourCount = 8784;
        spec.extent = {"-5", "2.5", "32767", "-32768", "0", "99", "0", "-0", "1e-5", "-89.999"};
        add("odd-values", header(spec));
        spec = {};
        spec.padTo = 5000;
        std::string exact = header(spec);
        exact.resize(5000, ' ');
        add("exactly-5000", exact);
        add("short", header(HeaderSpec{}).substr(0, 4999));
        add("bad-comment-count",
            gridloom::fixtures::replaceLine(header(HeaderSpec{}), 1, "2147483647"));
        add("bad-grid-line", gridloom::fixtures::replaceLine(header(HeaderSpec{}), 4, "60 50 23"));
        spec = {};
        spec.startStamp = "2002023012";
        add("bad-stamp", header(spec));
        spec = {};
        spec.extent[3] = "40000";
        add("bad-index", header(spec));

        for (const auto& [name, text] : seeds)
            gridloom::fixtures::writeText(folder + "/" + name + ".m3d", text);
        std::printf("%zu seeds written to %s\n", seeds.size(), folder.c_str());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cannot write the seeds: %s\n", error.what());
        return 1;
    }
}
