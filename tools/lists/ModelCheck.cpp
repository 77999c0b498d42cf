#include "tools/lists/ModelCheck.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "tools/lists/PracticeLists.h"

namespace lumbrel::lists {
namespace {

using stations::Draw;
using stations::Station;

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool AllLetters(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// Whether word occurs in text as a whole word or words.
bool Says(std::string_view text, std::string_view words) {
    for (std::size_t at = text.find(words); at != std::string_view::npos; at = text.find(words, at + 1)) {
        const bool startOk = at == 0 || text[at - 1] == ' ';
        const std::size_t end = at + words.size();
        if (startOk && (end == text.size() || text[end] == ' '))
            return true;
    }
    return false;
}

// The town's "town:state:section" entry in its area, or the town alone.
std::vector<std::string> TownEntry(const stations::CallArea& area, std::string_view town) {
    for (const std::string& entry : Draw::Split(area.towns)) {
        std::vector<std::string> parts = Draw::Split(entry, ':');
        if (parts[0].substr(0, parts[0].find('/')) == town)
            return parts;
    }
    return {};
}

int ParseWatts(std::string text) {
    if (!text.empty() && text.back() == 'w')
        text.pop_back();
    if (text == "k" || text == "1k")
        return 1000;
    text = qsos::UncutDigits(text);
    return AllDigits(text) ? std::stoi(text) : -1;
}

void CheckCall(const Station& s, bool specialFrame, std::vector<std::string>& problems) {
    const auto fail = [&](const std::string& what) {
        problems.push_back(s.call + ": " + what);
    };
    const stations::CallFormat& f = *s.format;
    const std::string& call = s.homeCall;
    bool prefixFound = false;
    for (const std::string& prefix : Draw::Split(f.prefixes)) {
        if (call.rfind(prefix, 0) != 0 || call.size() <= prefix.size() + 1 || call[prefix.size()] != s.digit)
            continue;
        const std::string suffix = call.substr(prefix.size() + 1);
        if (AllLetters(suffix) &&
            std::string_view(f.lengths).find(char('0' + suffix.size())) != std::string_view::npos)
            prefixFound = true;
    }
    if (!prefixFound)
        fail("not a call of its licence class");
    if (std::string_view(s.homeArea->digits).find(s.digit) == std::string_view::npos ||
        (*f.digits != '\0' && std::string_view(f.digits).find(s.digit) == std::string_view::npos))
        fail("a digit its call area does not issue");
    const bool oneByOne = call.size() == 3 && call[0] >= 'A' && call[1] >= '0' && call[1] <= '9';
    if (oneByOne != s.special || (s.special && !specialFrame))
        fail("a 1x1 call outside a special event");
    if (s.visitor) {
        std::string prefix = s.entity->visitorPrefix;
        if (prefix == "W" || prefix == "VE" || prefix == "VK" || prefix == "ZL")
            prefix += s.area->digits[0];
        if (*s.entity->visitorPrefix == '\0' || s.call != prefix + "/" + call)
            fail("not signed as a visitor signs there");
        if (s.format->maxWatts < 400)
            fail("a licence that is not valid abroad");
    }
    if (s.call.find("/QRP") != std::string::npos && s.watts > 5)
        fail("/QRP with " + std::to_string(s.watts) + " w");
    if (s.watts > f.maxWatts)
        fail(std::to_string(s.watts) + " w on a " + f.licence + " licence");
    if (s.age < 10 || s.age > 95 || s.yearsLicensed < 1 || s.yearsLicensed > s.age - 10)
        fail("age " + std::to_string(s.age) + " licensed " + std::to_string(s.yearsLicensed) + " years");
    if (!stations::AntennaFits(s.antenna.kind, s.antenna.elements))
        fail("antenna " + s.antenna.Spoken());
    const std::vector<std::string> names = Draw::Split(stations::Names(s.home->language));
    if (std::find(names.begin(), names.end(), s.name) == names.end())
        fail("name " + s.name + " not of its country's language");
    if (stations::AreaOfTown(*s.entity, s.town) != s.area)
        fail("qth " + s.town + " outside its call area");
}

}  // namespace

bool CountryFile::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error_ = "cannot read " + path;
        return false;
    }
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    std::size_t at = 0;
    int entities = 0;
    while (at < text.size()) {
        const std::size_t end = text.find(';', at);
        if (end == std::string::npos)
            break;
        const std::string record = text.substr(at, end - at);
        at = end + 1;
        const std::size_t headerEnd = record.find('\n', record.find_first_not_of("\r\n"));
        if (headerEnd == std::string::npos)
            continue;
        const std::vector<std::string> fields = Draw::Split(record.substr(0, headerEnd), ':');
        if (fields.size() < 8)
            continue;
        Place base{Trim(fields[0]), std::atoi(fields[1].c_str()), std::atoi(fields[2].c_str())};
        ++entities;
        for (const std::string& raw : Draw::Split(record.substr(headerEnd), ',')) {
            std::string entry = Trim(raw);
            if (entry.empty())
                continue;
            Place place = base;
            if (const auto open = entry.find('('); open != std::string::npos)
                place.cqZone = std::atoi(entry.c_str() + open + 1);
            if (const auto open = entry.find('['); open != std::string::npos)
                place.ituZone = std::atoi(entry.c_str() + open + 1);
            entry = entry.substr(0, entry.find_first_of("([<{~"));
            if (entry.front() == '=')
                calls_[entry.substr(1)] = place;
            else
                prefixes_[entry] = place;
        }
    }
    if (entities == 0) {
        error_ = "no entity in " + path;
        return false;
    }
    return true;
}

bool CountryFile::Lookup(std::string_view call, Place& place, bool wholeCalls) const {
    if (const auto exact = calls_.find(call); wholeCalls && exact != calls_.end()) {
        place = exact->second;
        return true;
    }
    // The parts between slashes, without the marks after the call (/P, /M, /QRP, /7).
    std::vector<std::string> parts = Draw::Split(call, '/');
    while (parts.size() > 1) {
        const std::string& last = parts.back();
        if (last == "P" || last == "M" || last == "QRP" || last == "MM" || last == "AM" || AllDigits(last))
            parts.pop_back();
        else
            break;
    }
    if (parts.empty())
        return false;
    // A host prefix is the shorter of two parts.
    std::string located = parts.front();
    if (parts.size() > 1 && parts[1].size() < located.size())
        located = parts[1];
    if (const auto exact = calls_.find(located); wholeCalls && exact != calls_.end()) {
        place = exact->second;
        return true;
    }
    for (std::size_t length = located.size(); length > 0; --length)
        if (const auto found = prefixes_.find(located.substr(0, length)); found != prefixes_.end()) {
            place = found->second;
            return true;
        }
    return false;
}

std::vector<std::string> CheckContact(const qsos::Contact& contact, const CountryFile& countries) {
    std::vector<std::string> problems;
    const bool special = contact.frame == "special event";
    for (const Station& s : contact.stations) {
        CountryFile::Place place;
        if (!countries.Lookup(s.call, place, false))
            problems.push_back(s.call + ": in no entity of the country file");
        else if (place.entity != s.entity->name || place.cqZone != s.CqZone() || place.ituZone != s.ItuZone())
            problems.push_back(s.call + ": the country file says " + place.entity + " zones " +
                               std::to_string(place.cqZone) + "/" + std::to_string(place.ituZone) +
                               ", the model " + s.entity->name + " " + std::to_string(s.CqZone()) + "/" +
                               std::to_string(s.ItuZone()));
        if (countries.Lookup(s.homeCall, place, false) && place.entity != s.home->name)
            problems.push_back(s.homeCall + ": issued in " + place.entity + ", not " + s.home->name);
        CheckCall(s, special, problems);
        if (!Says(contact.text, s.call))
            problems.push_back(s.call + ": never sent");
    }

    const std::span<const char* const> sections = Sections();
    for (const qsos::Claim& claim : contact.claims) {
        const Station& s = contact.stations[static_cast<std::size_t>(claim.station)];
        const std::string& v = claim.value;
        const auto fail = [&](const std::string& what) {
            problems.push_back(s.call + ": " + what + " \"" + v + "\"");
        };
        if (!Says(contact.text, v))
            fail("claim not in the text");
        const std::vector<std::string> entry = TownEntry(*s.area, s.town);
        switch (claim.kind) {
            case qsos::Claim::Kind::Qth:
                if (v != s.town || stations::AreaOfTown(*s.entity, v) != s.area)
                    fail("qth outside the call area");
                break;
            case qsos::Claim::Kind::Name:
                if (v != s.name)
                    fail("another name");
                break;
            case qsos::Claim::Kind::Power: {
                const int watts = ParseWatts(v);
                if (watts != s.watts || watts > s.format->maxWatts)
                    fail("power beyond the licence or another than the station's");
                break;
            }
            case qsos::Claim::Kind::Antenna:
                if (v != s.antenna.Spoken() || !stations::AntennaFits(s.antenna.kind, s.antenna.elements))
                    fail("antenna");
                break;
            case qsos::Claim::Kind::Age:
                if (v != std::to_string(s.age))
                    fail("age");
                break;
            case qsos::Claim::Kind::Years:
                if (v != std::to_string(s.yearsLicensed) || s.yearsLicensed > s.age - 10)
                    fail("years licensed");
                break;
            case qsos::Claim::Kind::Weather: {
                const auto temp = v.find(" temp ");
                std::string degrees = temp == std::string::npos ? "" : v.substr(temp + 6);
                const bool fahrenheit = !degrees.empty() && degrees.back() == 'f';
                const bool negative = degrees.rfind("minus ", 0) == 0;
                if (negative)
                    degrees = degrees.substr(6);
                if (!degrees.empty())
                    degrees.pop_back();
                if (!AllDigits(degrees) || fahrenheit != s.entity->fahrenheit) {
                    fail("weather not read");
                    break;
                }
                int t = std::stoi(degrees) * (negative ? -1 : 1);
                if (fahrenheit)
                    t = static_cast<int>(std::lround((t - 32) * 5.0 / 9.0));
                const auto [low, high] = stations::TemperatureRange(*s.entity, contact.month);
                const std::string sky = v.substr(0, temp);
                if (t < low - 1 || t > high + 1 || !stations::SkyFits(sky, t))
                    fail("weather that does not fit month " + std::to_string(contact.month));
                break;
            }
            case qsos::Claim::Kind::CqZone:
            case qsos::Claim::Kind::ItuZone: {
                const std::string digits = qsos::UncutDigits(v);
                CountryFile::Place place;
                countries.Lookup(s.call, place, false);
                const int zone = claim.kind == qsos::Claim::Kind::CqZone ? place.cqZone : place.ituZone;
                if (!AllDigits(digits) || std::stoi(digits) != zone)
                    fail("zone, the country file says " + std::to_string(zone));
                break;
            }
            case qsos::Claim::Kind::State:
                if (entry.size() != 3 || v != entry[1])
                    fail("state of another call area");
                break;
            case qsos::Claim::Kind::Section: {
                const bool known = std::any_of(sections.begin(), sections.end(), [&](const char* section) {
                    std::string lower = section;
                    std::transform(lower.begin(), lower.end(), lower.begin(),
                                   [](char c) { return char(c | 0x20); });
                    return lower == v;
                });
                if (!known || entry.size() != 3 || v != entry[2])
                    fail("section");
                break;
            }
            case qsos::Claim::Kind::Check:
                if (v.size() != 2 || std::stoi(v) != s.YearLicensed() % 100)
                    fail("check is not the year first licensed");
                break;
            case qsos::Claim::Kind::FieldDayClass: {
                const std::string count = v.substr(0, v.size() - 1);
                const char cls = v.back();
                const int most =
                    cls == 'a' ? 20
                               : (cls == 'c' ? 1 : (cls == 'f' ? 5 : (cls >= 'b' && cls <= 'e' ? 2 : 0)));
                if (!AllDigits(count) || std::stoi(count) < 1 || std::stoi(count) > most)
                    fail("field day class");
                break;
            }
            case qsos::Claim::Kind::Summit: {
                const auto& regions = qsos::SotaRegions();
                const auto region =
                    std::find_if(regions.begin(), regions.end(), [&](const qsos::SotaRegion& r) {
                        const std::string code = r.code;
                        return v.size() == code.size() + 3 && v.rfind(code, 0) == 0;
                    });
                if (region == regions.end()) {
                    fail("no such summit region");
                    break;
                }
                const std::string number = v.substr(std::string(region->code).size());
                const bool ownArea = *region->digits == '\0' ||
                                     std::string_view(region->digits).find(s.digit) != std::string_view::npos;
                if (!AllDigits(number) || std::stoi(number) < 1 || std::stoi(number) > region->summits ||
                    region->entity != std::string_view(s.entity->name) || !ownArea)
                    fail("summit out of its region's range or away from the activator's area");
                break;
            }
            case qsos::Claim::Kind::Society:
                break;
        }
    }
    return problems;
}

}  // namespace lumbrel::lists
