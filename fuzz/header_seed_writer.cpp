// Writes the header fuzzer's seed corpus into the folder given as the only argument: valid
// headers of every shape the fixture writer can make, and a few that fail at each step.

#include "fixtures/fixture_writer.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

using gridloom::fixtures::SampleHeader;

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
        const auto header = [](const SampleHeader& sample) {
            return gridloom::fixtures::headerText(sample);
        };

        SampleHeader sample;
        add("default", header(sample));
        sample.commentLines = 0;
        add("no-comments", header(sample));
        sample.commentLines = 3;
        sample.lineEnd = "\r\n";
        add("crlf", header(sample));
        sample = {};
        sample.indent = "   ";
        sample.separator = "    ";
        add("indented-wide", header(sample));
        sample = {};
        sample.gridSpacingKm = 0.333;
        sample.startStamp = "2004022923";
        sample.hourCount = 8784;
        sample.extent = {"-5", "2.5", "32767", "-32768", "0", "99", "0", "-0", "1e-5", "-89.999"};
        add("odd-values", header(sample));
        sample = {};
        sample.padTo = 5000;
        std::string exact = header(sample);
        exact.resize(5000, ' ');
        add("exactly-5000", exact);
        add("short", header(SampleHeader{}).substr(0, 4999));
        add("bad-comment-count",
            gridloom::fixtures::replaceLine(header(SampleHeader{}), 1, "2147483647"));
        add("bad-grid-line",
            gridloom::fixtures::replaceLine(header(SampleHeader{}), 4, "60 50 23"));
        sample = {};
        sample.startStamp = "2002023012";
        add("bad-stamp", header(sample));
        sample = {};
        sample.extent[3] = "40000";
        add("bad-index", header(sample));

        for (const auto& [name, text] : seeds)
            gridloom::fixtures::writeText(folder + "/" + name + ".m3d", text);
        std::printf("%zu seeds written to %s\n", seeds.size(), folder.c_str());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cannot write the seeds: %s\n", error.what());
        return 1;
    }
}
