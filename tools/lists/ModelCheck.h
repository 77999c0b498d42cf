#pragma once
// Holds the practice contacts against the world they describe: the country file
// cty.dat (Debian's hamradio-files) for each call's entity and zones, and the station
// model (text/StationModel.h) for QTHs, names, powers, antennas, ages, weather, summit
// references and contest exchanges. The list maker refuses to write contacts that
// fail, and the tests run it on the shipped file and on generated ones.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "text/QsoGenerator.h"

namespace lumbrel::lists {

// Where Debian's hamradio-files puts the country file.
inline constexpr const char* kCountryFilePath = "/usr/share/hamradio-files/cty.dat";

class CountryFile {
public:
    struct Place {
        std::string entity;
        int cqZone = 0;
        int ituZone = 0;
    };

    // Reads cty.dat; false (and Error()) when it cannot be read or holds no entity.
    bool Load(const std::string& path);
    const std::string& Error() const { return error_; }

    // The entity and zones of a call as sent: a host prefix before a slash decides,
    // /P, /M, /QRP and the like after it do not; the longest matching prefix wins, a
    // whole-call entry over any prefix unless wholeCalls is false. The whole-call
    // entries are real stations heard away from where their prefix says; a made-up
    // call may hit one, so the model is held against the prefixes alone.
    bool Lookup(std::string_view call, Place& place, bool wholeCalls = true) const;

private:
    std::map<std::string, Place, std::less<>> prefixes_;
    std::map<std::string, Place, std::less<>> calls_;
    std::string error_;
};

// What is wrong with a contact, one line each; empty when nothing is.
std::vector<std::string> CheckContact(const qsos::Contact& contact, const CountryFile& countries);

}  // namespace lumbrel::lists
