// Makes the practice lists that are not taken from a source (tools/lists/PracticeLists.h)
// and writes them into a source tree:
//
//   lumbrel-make-lists SOURCE_FOLDER
//
// writes "QSO Files/QSO.txt", "Word Files/Callsigns.txt" (a sample of MASTER.SCP) and "Word Files/CW
// Abbreviations.txt" below SOURCE_FOLDER. The seed is fixed, so the files come out the
// same every time; change kShippedSeed or the counts to make others. Every contact is
// first held against the country file of Debian's hamradio-files (cty.dat) and the
// station model; nothing is written when one fails.
#include <cstdio>
#include <fstream>
#include <string>

#include "text/QsoGenerator.h"
#include "text/RealCalls.h"
#include "tools/lists/ModelCheck.h"
#include "tools/lists/PracticeLists.h"

namespace {

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "lumbrel-make-lists: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lumbrel-make-lists SOURCE_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    using namespace lumbrel::lists;
    CountryFile countries;
    if (!countries.Load(kCountryFilePath)) {
        std::fprintf(stderr, "lumbrel-make-lists: %s (install hamradio-files)\n", countries.Error().c_str());
        return 1;
    }
    lumbrel::qsos::QsoGenerator contacts(kShippedSeed);
    int failed = 0;
    for (int i = 0; i < kShippedQsos; ++i) {
        const lumbrel::qsos::Contact contact = contacts.Make(i);
        for (const std::string& problem : CheckContact(contact, countries)) {
            std::fprintf(stderr, "lumbrel-make-lists: %s: %s\n  %s\n", contact.frame.c_str(), problem.c_str(),
                         contact.text.c_str());
            ++failed;
        }
    }
    if (failed > 0)
        return 1;
    const std::vector<std::string> realCalls =
        lumbrel::ReadCallList(QString::fromLatin1(lumbrel::kMasterCallsPath));
    if (realCalls.empty()) {
        std::fprintf(stderr, "lumbrel-make-lists: cannot read %s (install hamradio-files)\n",
                     lumbrel::kMasterCallsPath);
        return 1;
    }
    const Lists lists = MakeLists(kShippedSeed, kShippedQsos, kShippedCallsigns, realCalls);
    const bool ok = WriteFile(folder + "/QSO Files/QSO.txt", lists.qsos) &&
                    WriteFile(folder + "/Word Files/Callsigns.txt", lists.callsigns) &&
                    WriteFile(folder + "/Word Files/CW Abbreviations.txt", lists.abbreviations);
    return ok ? 0 : 1;
}
