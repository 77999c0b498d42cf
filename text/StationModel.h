#pragma once
// A model of the stations heard on the air, from which the practice contacts are made:
// the country (DXCC entity) and call area of a call, the towns that lie in that call
// area, first names in the country's language, the licence class and the power it
// allows, an antenna that can have the elements it is given, an age and years
// licensed that fit, and weather that fits the temperature, the climate and the season
// of the hemisphere. The entities, their prefixes and CQ and ITU zones per call area
// are taken from the country file cty.dat (StationModel.cpp carries its notice).
//
// Plain C++ drawing from callsigns::Draw: the same seed gives the same stations on
// every platform.
#include <span>
#include <string>
#include <string_view>

#include "text/Callsigns.h"

namespace lumbrel::stations {

using callsigns::Draw;

enum class Language {
    English,
    German,
    Dutch,
    French,
    Italian,
    Spanish,
    Portuguese,
    Swedish,
    Danish,
    Finnish,
    Polish,
    Czech,
    Russian,
    Japanese,
    Hungarian,
    Croatian,
    Slovenian,
    Romanian,
    Greek,
    Bulgarian,
    Hebrew,
    Icelandic,
    Maltese,
    Lithuanian,
    Estonian,
    Latvian
};

// Temperature ranges by season; Southern entities have their seasons the other way round.
enum class Climate { Temperate, Cold, Mediterranean, Tropical, Desert, Polar, Oceanic };

// One call area: the digits issued there, its towns, and its zones. US and Canadian
// towns are "town:state:section"; a Russian town may end in "/L", the first letter of
// the suffixes issued in its region.
struct CallArea {
    const char* digits;  // the call-area digits of this area
    const char* towns;   // separated by spaces
    int cqZone;
    int ituZone;
};

// One call format of a licence class: any of prefixes, a digit of digits that is also
// one of the area's, a suffix of one of lengths letters (repeated ones drawn more often),
// beginning with first when it is not '\0'.
struct CallFormat {
    const char* prefixes;
    const char* digits;
    const char* lengths;
    int maxWatts;
    int weight;
    const char* licence;  // the class's name, for reading the model
    char first = '\0';
};

struct Entity {
    const char* name;  // as cty.dat spells it
    Language language;
    Climate climate;
    bool southern;
    bool fahrenheit;
    int weight;  // how often it is heard, relative to the others
    std::span<const CallArea> areas;
    std::span<const CallFormat> formats;
    const char* visitorPrefix;  // how a visitor signs there ("DL", "W6" is made from the area); "" for none
};

const Entity* FindEntity(std::string_view name);

// The first names of a language, separated by spaces.
const char* Names(Language language);

struct Antenna {
    std::string kind;  // "yagi", "dipole", ...
    int elements = 0;  // 0 for an antenna that has none to count
    std::string Spoken() const;
};
// Whether an antenna of that kind can have that many elements (0 for none).
bool AntennaFits(std::string_view kind, int elements);

struct Weather {
    std::string sky;  // "sunny", "rain", ...
    int celsius = 0;
    std::string Spoken(bool fahrenheit) const;
};
// The season (0 winter, 1 spring, 2 summer, 3 autumn) of month 1..12 there.
int Season(const Entity& entity, int month);
// The range of temperatures of the entity's climate in the month.
std::pair<int, int> TemperatureRange(const Entity& entity, int month);
// Whether the sky goes with the temperature ("snow" below freezing, "hot" when it is).
bool SkyFits(std::string_view sky, int celsius);

inline constexpr int kContactYear = 2025;  // the year the contacts are made in

struct Station {
    std::string call;                    // as sent: with a host prefix, /P, /QRP
    std::string homeCall;                // the call as issued
    const Entity* entity = nullptr;      // where the station is (the host country of a visitor)
    const CallArea* area = nullptr;      // its call area there
    const Entity* home = nullptr;        // the country that issued the call
    const CallArea* homeArea = nullptr;  // and the call area there
    const CallFormat* format = nullptr;
    char digit = '0';
    std::string name;
    std::string town;
    std::string state;    // US state or Canadian province, lower case
    std::string section;  // ARRL/RAC section, lower case
    int watts = 100;
    Antenna antenna;
    int age = 40;
    int yearsLicensed = 10;
    bool visitor = false;
    bool special = false;  // a special-event call (1x1)

    bool NorthAmerican() const;
    int CqZone() const { return area->cqZone; }
    int ItuZone() const { return area->ituZone; }
    int YearLicensed() const { return kContactYear - yearsLicensed; }
};

class StationMaker {
public:
    explicit StationMaker(Draw& draw) : draw_(draw) {}

    // A station of an entity drawn by weight (or of the named one), with all its facts.
    Station Any();
    Station Of(const Entity& entity);
    Station OfArea(const Entity& entity, const CallArea& area);
    Station NorthAmerican();
    Station European();
    Station Rare();
    // A US special-event station: a 1x1 call.
    Station SpecialEvent();
    // The station signs from another country, as a visitor there does.
    void MakeVisitor(Station& s);

    Weather WeatherFor(const Station& s, int month);
    Antenna AnyAntenna(bool small);

private:
    void Facts(Station& s);
    Draw& draw_;
};

// Where the town's name lies: the area of the entity that lists it, or null.
const CallArea* AreaOfTown(const Entity& entity, std::string_view town);

}  // namespace lumbrel::stations
