#pragma once
// Practice contacts made from the station model (text/StationModel.h): ragchews of
// several shapes, contests, DX pile-ups, POTA and SOTA activations, club contacts and
// nets, each in its own procedure. Every fact a contact states (a QTH, a power, a zone,
// a summit) is also recorded as a claim, so that a check can hold each against the
// model and the country file.
//
// Plain C++: the same seed gives the same contacts on every platform.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "text/StationModel.h"

namespace lumbrel::qsos {

using stations::Station;

// A fact a contact states about one of its stations, as it is sent.
struct Claim {
    enum class Kind {
        Qth,  // a town
        Name,
        Power,    // watts, "5w" or in ARRL DX "100"/"kw"
        Antenna,  // "3el yagi"
        Age,
        Years,    // years licensed
        Weather,  // "rain temp 12c"
        CqZone,   // possibly with cut digits
        ItuZone,
        State,
        Section,
        Check,  // Sweepstakes: the year first licensed, two digits
        FieldDayClass,
        Summit,   // "g/ld003"
        Society,  // IARU HF headquarters
    };
    Kind kind;
    int station;        // index into Contact::stations
    std::string value;  // as sent
};

struct Contact {
    std::string text;   // the whole contact, one line
    std::string frame;  // the frame's name
    int month = 1;      // when it happens, for the weather
    std::vector<Station> stations;
    std::vector<Claim> claims;
};

// The names of the frames, in the order Make takes them.
const std::vector<std::string>& FrameNames();

// The summit regions of the SOTA associations used: code, the highest summit number
// used there (at most the region's count), and the entity and call-area digits of
// the activators.
struct SotaRegion {
    const char* code;  // "g/ld"
    int summits;
    const char* entity;
    const char* digits;  // "" for any
};
const std::vector<SotaRegion>& SotaRegions();

// Contest numbers with the cut digits t for 0, n for 9 and a for 1 back to digits.
std::string UncutDigits(std::string sent);

class QsoGenerator {
public:
    explicit QsoGenerator(std::uint32_t seed);
    ~QsoGenerator();
    QsoGenerator(const QsoGenerator&) = delete;
    QsoGenerator& operator=(const QsoGenerator&) = delete;

    // The frame of index frame % FrameNames().size().
    Contact Make(int frame);
    // A contact of a frame drawn at random.
    Contact Next();

private:
    friend const std::vector<std::string>& FrameNames();
    class Builder;
    std::unique_ptr<Builder> builder_;
};

}  // namespace lumbrel::qsos
