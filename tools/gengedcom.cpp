// Deterministic generator of realistic synthetic GEDCOM files for tests and benchmarks.
//
//   gengedcom --individuals N [--seed S] [--charset UTF-8|ANSEL] [--eol crlf|lf|cr] [--bom] --out file.ged
//
// The same arguments always give the same bytes. The tree is built in groups: each
// group starts from a few founder couples and grows family by family; children marry
// outsiders, now and then a cousin of their own group (pedigree collapse) or a second
// spouse; groups never marry into each other, so the file has unconnected islands,
// from single individuals to one large connected tree. Only the standard library.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

// ---------------------------------------------------------------- random numbers
// Own generator (splitmix64): std distributions differ between library versions.
struct Rng {
    std::uint64_t s;
    explicit Rng(std::uint64_t seed) : s(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= r < n
    std::uint32_t below(std::uint32_t n) { return n ? std::uint32_t((next() >> 32) * n >> 32) : 0; }
    int range(int lo, int hi) { return lo + int(below(std::uint32_t(hi - lo + 1))); }
    bool chance(unsigned percentTimes10) { return below(1000) < percentTimes10; }
};

std::uint64_t mix(std::uint64_t a, std::uint64_t b) {
    Rng r(a * 0x100000001B3ull ^ (b + 0x632BE59BD9B4E019ull));
    return r.next();
}

// ---------------------------------------------------------------- word lists (UTF-8)
const char* const kMaleGiven[] = {
    "John",    "William",   "James",   "George", "Charles",  "Thomas",  "Henry",    "Robert",  "Joseph", "Edward",
    "Samuel",  "David",     "Richard", "Peter",  "Daniel",   "Michael", "Andrew",   "Walter",  "Arthur", "Albert",
    "Francis", "Frederick", "Hugh",    "Isaac",  "Jacob",    "Martin",  "Nicholas", "Patrick", "Paul",   "Simon",
    "José",    "François",  "André",   "Björn",  "Søren",    "Jürgen",  "Raphaël",  "Ñuño",    "Ángel",  "Jérôme",
    "Zoltán",  "Øystein",   "Günther", "Noël",   "Stéphane", "Benoît",  "Joël",     "Íñigo",   "Mátyás", "Ægir"};
const char* const kFemaleGiven[] = {
    "Mary",    "Elizabeth", "Sarah",   "Anna",   "Margaret", "Catherine", "Jane",      "Ann",   "Alice",  "Emma",
    "Martha",  "Susan",     "Ellen",   "Hannah", "Rebecca",  "Rachel",    "Ruth",      "Grace", "Clara",  "Louisa",
    "Harriet", "Agnes",     "Dorothy", "Edith",  "Frances",  "Helen",     "Isabel",    "Julia", "Lucy",   "Rose",
    "Zoë",     "Chloé",     "Hélène",  "Renée",  "Ågot",     "Ingrid",    "Françoise", "Inês",  "Brönte", "Élise",
    "Maëlle",  "Ségolène",  "Åse",     "Ærin",   "Dörte",    "Lætitia",   "Mónica",    "Göran", "Síle",   "Anaïs"};
const char* const kSurnames[] = {
    "Smith",      "Johnson",  "Williams",  "Brown",    "Jones",     "Miller",       "Davis",      "Wilson",
    "Anderson",   "Taylor",   "Thomas",    "Moore",    "Martin",    "Jackson",      "Thompson",   "White",
    "Harris",     "Clark",    "Lewis",     "Robinson", "Walker",    "Young",        "Allen",      "King",
    "Wright",     "Scott",    "Green",     "Baker",    "Adams",     "Nelson",       "Hill",       "Campbell",
    "Mitchell",   "Roberts",  "Carter",    "Phillips", "Evans",     "Turner",       "Torres",     "Parker",
    "Collins",    "Edwards",  "Stewart",   "Morris",   "Murphy",    "Cook",         "Rogers",     "Morgan",
    "Cooper",     "Peterson", "Bailey",    "Reed",     "Kelly",     "Howard",       "Cox",        "Ward",
    "Richardson", "Watson",   "Brooks",    "Wood",     "James",     "Bennett",      "Gray",       "Hughes",
    "Price",      "Sanders",  "Myers",     "Long",     "Ross",      "Foster",       "Müller",     "Schäfer",
    "Böhm",       "Jäger",    "Köhler",    "Krüger",   "Größ",      "Weiß",         "Öberg",      "Åkesson",
    "Sørensen",   "Lefèvre",  "Dubé",      "Gagné",    "Bélanger",  "Côté",         "Pelletier",  "Lévesque",
    "Ménard",     "Gómez",    "Muñoz",     "Peña",     "Ibáñez",    "Núñez",        "Façade",     "Garçon",
    "Ærøe",       "Þórsson",  "Dvořák",    "MacLeod",  "O'Brien",   "van der Berg", "de la Cruz", "Fitzgerald",
    "Holloway",   "Ashford",  "Blackwood", "Cromwell", "Davenport", "Ellsworth",    "Fairchild",  "Greenwood",
    "Hargrove",   "Ingram",   "Kingsley",  "Lockwood"};
const char* const kTowns[] = {
    "Ashby",          "Bradford",  "Carlisle",   "Dunmore",   "Eastwood", "Fairfield",   "Glenrock", "Hartley",
    "Ivybridge",      "Kendal",    "Lynton",     "Marlow",    "Newbury",  "Oakham",      "Penrith",  "Redhill",
    "Selby",          "Thornbury", "Upton",      "Wexford",   "Yarmouth", "Zell am See", "Québec",   "Montréal",
    "Trois-Rivières", "Besançon",  "Nîmes",      "Göttingen", "Lübeck",   "Malmö",       "Århus",    "Tromsø",
    "Cádiz",          "León",      "São Paulo",  "Zürich",    "Genève",   "Springfield", "Salem",    "Franklin",
    "Clinton",        "Madison",   "Georgetown", "Arlington", "Ashland",  "Dover"};
const char* const kCounties[] = {"Kent",    "Essex",      "Yorkshire",  "Devon",     "Cornwall",  "Norfolk",
                                 "Suffolk", "Lancashire", "Cumberland", "Bas-Rhin",  "Bayern",    "Skåne",
                                 "Jylland", "Andalucía",  "Worcester",  "Middlesex", "Hampshire", "Orange"};
const char* const kCountries[] = {"England", "Scotland", "Ireland", "Wales",  "France", "Germany",     "Sweden",
                                  "Denmark", "Norway",   "Spain",   "Canada", "USA",    "Switzerland", "Brazil"};
const char* const kOccupations[] = {
    "Farmer",    "Labourer",   "Blacksmith", "Carpenter", "Weaver",   "Miller",  "Baker",    "Tailor", "Shoemaker",
    "Merchant",  "Clerk",      "Teacher",    "Physician", "Minister", "Sailor",  "Soldier",  "Mason",  "Cooper",
    "Innkeeper", "Seamstress", "Servant",    "Engineer",  "Lawyer",   "Printer", "Gardener", "Butcher"};
const char* const kCauses[] = {"Fever",      "Consumption", "Old age",       "Pneumonia", "Accident",
                               "Childbirth", "Smallpox",    "Heart failure", "Drowning",  "Influenza"};
const char* const kWords[] = {
    "the",      "family",  "lived",    "in",      "a",         "small",  "house",    "near",    "church",   "and",
    "worked",   "on",      "land",     "of",      "his",       "her",    "father",   "mother",  "was",      "born",
    "during",   "winter",  "after",    "long",    "journey",   "from",   "old",      "country", "records",  "show",
    "that",     "they",    "moved",    "to",      "town",      "where",  "children", "were",    "baptised", "register",
    "mentions", "brother", "sister",   "who",     "emigrated", "with",   "little",   "money",   "but",      "great",
    "hope",     "letters", "describe", "harvest", "storm",     "mill",   "river",    "bridge",  "parish",   "priest",
    "wrote",    "entry",   "dated",    "spring",  "summer",    "autumn", "company",  "ship",    "arrived",  "harbour",
    "café",     "naïve",   "fiancée",  "résumé",  "señor",     "Straße"};
const char* const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
const char* const kTemples[] = {"SLAKE", "LOGAN", "MANTI", "STGEO", "LONDO", "SWISS"};
const char* const kStatus[] = {"COMPLETED", "SUBMITTED", "CLEARED", "CHILD", "STILLBORN"};
const char* const kRepoNames[] = {"County Record Office", "National Archives",  "Diocesan Archive",
                                  "Public Library",       "Historical Society", "Family Papers"};
const char* const kSourceKinds[] = {"Parish register of",    "Census of",      "Land records of", "Probate court of",
                                    "Civil registration of", "Church book of", "Newspaper of"};

template <class T, std::size_t N>
constexpr std::uint32_t countOf(const T (&)[N]) {
    return std::uint32_t(N);
}

// ---------------------------------------------------------------- charset encoding
bool gAnsel = false;

// Decodes one UTF-8 sequence at s[i]; advances i.
std::uint32_t decodeUtf8(std::string_view s, std::size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    int n = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
    std::uint32_t v = c & (0x3F >> n);
    while (n-- > 0 && i < s.size()) v = (v << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    return v;
}

// ANSEL bytes of one Latin-1 letter: a combining mark before its base letter, or a spacing character.
void appendAnselChar(std::string& out, std::uint32_t cp) {
    struct Combo {
        std::uint32_t cp;
        unsigned char mark;
        char base;
    };
    static const Combo combos[] = {
        {0xC0, 0xE1, 'A'}, {0xC8, 0xE1, 'E'}, {0xCC, 0xE1, 'I'}, {0xD2, 0xE1, 'O'},  {0xD9, 0xE1, 'U'},
        {0xE0, 0xE1, 'a'}, {0xE8, 0xE1, 'e'}, {0xEC, 0xE1, 'i'}, {0xF2, 0xE1, 'o'},  {0xF9, 0xE1, 'u'},
        {0xC1, 0xE2, 'A'}, {0xC9, 0xE2, 'E'}, {0xCD, 0xE2, 'I'}, {0xD3, 0xE2, 'O'},  {0xDA, 0xE2, 'U'},
        {0xDD, 0xE2, 'Y'}, {0xE1, 0xE2, 'a'}, {0xE9, 0xE2, 'e'}, {0xED, 0xE2, 'i'},  {0xF3, 0xE2, 'o'},
        {0xFA, 0xE2, 'u'}, {0xFD, 0xE2, 'y'}, {0xC2, 0xE3, 'A'}, {0xCA, 0xE3, 'E'},  {0xCE, 0xE3, 'I'},
        {0xD4, 0xE3, 'O'}, {0xDB, 0xE3, 'U'}, {0xE2, 0xE3, 'a'}, {0xEA, 0xE3, 'e'},  {0xEE, 0xE3, 'i'},
        {0xF4, 0xE3, 'o'}, {0xFB, 0xE3, 'u'}, {0xC3, 0xE4, 'A'}, {0xD1, 0xE4, 'N'},  {0xD5, 0xE4, 'O'},
        {0xE3, 0xE4, 'a'}, {0xF1, 0xE4, 'n'}, {0xF5, 0xE4, 'o'}, {0xC4, 0xE8, 'A'},  {0xCB, 0xE8, 'E'},
        {0xCF, 0xE8, 'I'}, {0xD6, 0xE8, 'O'}, {0xDC, 0xE8, 'U'}, {0x178, 0xE8, 'Y'}, {0xE4, 0xE8, 'a'},
        {0xEB, 0xE8, 'e'}, {0xEF, 0xE8, 'i'}, {0xF6, 0xE8, 'o'}, {0xFC, 0xE8, 'u'},  {0xFF, 0xE8, 'y'},
        {0xE5, 0xEA, 'a'}, {0xC5, 0xEA, 'A'}, {0xE7, 0xF0, 'c'}, {0xC7, 0xF0, 'C'}};
    struct Spacing {
        std::uint32_t cp;
        unsigned char b;
    };
    static const Spacing spacing[] = {{0xD8, 0xA2},  {0xD0, 0xA3}, {0xDE, 0xA4}, {0xC6, 0xA5},
                                      {0x152, 0xA6}, {0xF8, 0xB2}, {0xFE, 0xB4}, {0xE6, 0xB5},
                                      {0x153, 0xB6}, {0xDF, 0xCF}, {0xA3, 0xB9}};
    if (cp < 0x80) {
        out.push_back(char(cp));
        return;
    }
    for (const auto& c : combos)
        if (c.cp == cp) {
            out.push_back(char(c.mark));
            out.push_back(c.base);
            return;
        }
    for (const auto& s : spacing)
        if (s.cp == cp) {
            out.push_back(char(s.b));
            return;
        }
    // Anything ANSEL cannot say.
    out.push_back('?');
}

// Text of the word lists in the file's character set.
std::string encode(std::string_view utf8) {
    if (!gAnsel) return std::string(utf8);
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) appendAnselChar(out, decodeUtf8(utf8, i));
    return out;
}

std::vector<std::string> encodeList(const char* const* list, std::uint32_t n) {
    std::vector<std::string> v;
    v.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i) v.push_back(encode(list[i]));
    return v;
}

// ---------------------------------------------------------------- output buffer
class Out {
public:
    Out(std::FILE* f, std::string eol) : f_(f), eol_(std::move(eol)) { buf_.reserve(kChunk + 65536); }
    ~Out() { flush(); }
    Out& s(std::string_view t) {
        buf_.append(t);
        return *this;
    }
    Out& c(char ch) {
        buf_.push_back(ch);
        return *this;
    }
    Out& n(long long v) {
        char tmp[24];
        int len = 0;
        bool neg = v < 0;
        unsigned long long u = neg ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
        do {
            tmp[len++] = char('0' + u % 10);
            u /= 10;
        } while (u);
        if (neg) buf_.push_back('-');
        while (len) buf_.push_back(tmp[--len]);
        return *this;
    }
    // "@I123@"
    Out& x(char kind, long long id) {
        c('@').c(kind).n(id).c('@');
        return *this;
    }
    void end() {
        buf_.append(eol_);
        if (buf_.size() >= kChunk) flush();
    }
    // One whole line: "<level> <tag>[ <value>]".
    Out& line(int level, std::string_view tag) {
        n(level).c(' ').s(tag);
        return *this;
    }
    void flush() {
        if (!buf_.empty() && std::fwrite(buf_.data(), 1, buf_.size(), f_) != buf_.size()) failed = true;
        buf_.clear();
    }
    bool failed = false;

private:
    static constexpr std::size_t kChunk = 4u << 20;
    std::FILE* f_;
    std::string eol_;
    std::string buf_;
};

// ---------------------------------------------------------------- the tree
constexpr int kNone = 0;

struct Person {
    std::int32_t famc = kNone; // family as child
    std::int16_t birth = 0;    // year
    std::int16_t death = 0;    // year, 0 = living
    std::uint16_t given = 0;
    std::uint16_t surname = 0;
    std::uint8_t sex = 'M';
    std::uint8_t group = 0; // only for cousin choice; wraps harmlessly
};

struct Family {
    std::int32_t husb = kNone, wife = kNone;
    std::int32_t firstChild = 0;
    std::int32_t childCount = 0;
    std::int16_t year = 0; // marriage year
};

class Tree {
public:
    Tree(std::int64_t n, std::uint64_t seed) : target_(n), rng_(seed) {
        people_.reserve(std::size_t(n) + 1);
        people_.emplace_back(); // slot 0 unused: ids are 1-based
        families_.reserve(std::size_t(n / 2) + 16);
        families_.emplace_back();
    }

    void build() {
        // Roughly: one big tree with about 70% of everybody, then groups of a few to a few thousand,
        // and one individual in 200 alone without any family.
        int group = 0;
        while (count() < target_) {
            std::int64_t left = target_ - count();
            std::int64_t budget;
            if (group == 0)
                budget = left * 7 / 10;
            else if (rng_.chance(150))
                budget = 1; // isolated individual
            else {
                int bits = rng_.range(2, 12);
                budget = std::int64_t(rng_.range(1 << (bits - 1), 1 << bits));
            }
            if (budget < 1) budget = 1;
            if (budget > left) budget = left;
            growGroup(budget, std::uint8_t(group));
            ++group;
        }
        groups_ = group;
    }

    std::int64_t count() const { return std::int64_t(people_.size()) - 1; }
    std::int64_t familyCount() const { return std::int64_t(families_.size()) - 1; }
    const Person& person(std::int64_t i) const { return people_[std::size_t(i)]; }
    const Family& family(std::int64_t i) const { return families_[std::size_t(i)]; }
    int groups() const { return groups_; }

    // Spouse families of each person, in order of marriage (compressed rows).
    void indexSpouses() {
        famsStart_.assign(people_.size() + 1, 0);
        for (std::size_t f = 1; f < families_.size(); ++f) {
            if (families_[f].husb) ++famsStart_[std::size_t(families_[f].husb) + 1];
            if (families_[f].wife) ++famsStart_[std::size_t(families_[f].wife) + 1];
        }
        for (std::size_t i = 1; i < famsStart_.size(); ++i) famsStart_[i] += famsStart_[i - 1];
        fams_.assign(std::size_t(famsStart_.back()), 0);
        std::vector<std::int32_t> fill(famsStart_.begin(), famsStart_.end() - 1);
        for (std::size_t f = 1; f < families_.size(); ++f) {
            if (families_[f].husb) fams_[std::size_t(fill[std::size_t(families_[f].husb)]++)] = std::int32_t(f);
            if (families_[f].wife) fams_[std::size_t(fill[std::size_t(families_[f].wife)]++)] = std::int32_t(f);
        }
    }
    std::int32_t spouseFamilyCount(std::int64_t p) const {
        return famsStart_[std::size_t(p) + 1] - famsStart_[std::size_t(p)];
    }
    std::int32_t spouseFamily(std::int64_t p, std::int32_t k) const {
        return fams_[std::size_t(famsStart_[std::size_t(p)] + k)];
    }

private:
    std::int32_t addPerson(std::uint8_t sex, int birth, std::int32_t famc, std::uint16_t surname, std::uint8_t group) {
        Person p;
        p.sex = sex;
        p.birth = std::int16_t(birth);
        p.famc = famc;
        p.group = group;
        p.given = std::uint16_t(rng_.below(sex == 'M' ? countOf(kMaleGiven) : countOf(kFemaleGiven)));
        p.surname = surname;
        int life = rng_.chance(150) ? rng_.range(0, 5) : rng_.range(20, 95);
        int death = birth + life;
        p.death = death > 2022 ? std::int16_t(0) : std::int16_t(death);
        people_.push_back(p);
        return std::int32_t(people_.size() - 1);
    }

    std::int32_t addOutsider(std::uint8_t sex, int aroundYear, std::uint8_t group) {
        return addPerson(sex, aroundYear + rng_.range(-6, 6), kNone, std::uint16_t(rng_.below(countOf(kSurnames))),
                         group);
    }

    std::int32_t marry(std::int32_t a, std::int32_t b, int year) {
        Family f;
        if (people_[std::size_t(a)].sex == 'M') {
            f.husb = a;
            f.wife = b;
        } else {
            f.husb = b;
            f.wife = a;
        }
        f.year = std::int16_t(year);
        families_.push_back(f);
        return std::int32_t(families_.size() - 1);
    }

    // Single people of the group who may still marry a relative.
    struct Pool {
        std::vector<std::int32_t> men, women;
    };

    std::int32_t takeCousin(Pool& pool, const Person& p) {
        auto& v = p.sex == 'M' ? pool.women : pool.men;
        std::size_t tries = v.size() < 24 ? v.size() : 24;
        for (std::size_t t = 0; t < tries; ++t) {
            std::size_t k = v.size() - 1 - rng_.below(std::uint32_t(v.size() < 64 ? v.size() : 64));
            std::int32_t c = v[k];
            const Person& q = people_[std::size_t(c)];
            if (q.famc != p.famc && std::abs(q.birth - p.birth) <= 12) {
                v[k] = v.back();
                v.pop_back();
                return c;
            }
        }
        return kNone;
    }

    void growGroup(std::int64_t budget, std::uint8_t group) {
        std::int64_t end = count() + budget;
        if (budget == 1) {
            addOutsider(rng_.chance(500) ? 'M' : 'F', rng_.range(1700, 1990), group);
            return;
        }
        Pool pool;
        std::vector<std::int32_t> queue; // families still to get children
        std::size_t head = 0;
        auto founders = [&]() {
            int year = rng_.range(1500, 1760);
            std::int32_t h = addOutsider('M', year, group);
            std::int32_t w = count() < end ? addOutsider('F', year + 2, group) : kNone;
            if (w == kNone) return;
            queue.push_back(marry(h, w, year + rng_.range(18, 30)));
        };
        std::int64_t founderCount = budget / 600 + 1;
        for (std::int64_t i = 0; i < founderCount && count() + 1 < end; ++i) founders();

        while (count() < end) {
            if (head == queue.size()) {
                if (count() + 2 > end) {
                    addOutsider('M', rng_.range(1700, 1990), group);
                    continue;
                }
                founders();
                continue;
            }
            std::int32_t f = queue[head++];
            Family fam = families_[std::size_t(f)];
            static const int kids[] = {0, 1, 1, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 5, 5, 6, 7, 8, 10, 2};
            int n = kids[rng_.below(countOf(kids))];
            int year = fam.year;
            std::uint16_t surname = people_[std::size_t(fam.husb)].surname;
            std::int32_t first = std::int32_t(people_.size());
            int made = 0;
            for (int k = 0; k < n && count() < end; ++k) {
                year += rng_.range(1, 4);
                if (year > 2015) break;
                addPerson(rng_.chance(500) ? 'M' : 'F', year, f, surname, group);
                ++made;
            }
            families_[std::size_t(f)].firstChild = made ? first : 0;
            families_[std::size_t(f)].childCount = made;
            // The children's own marriages.
            for (int k = 0; k < made && count() < end; ++k) {
                std::int32_t c = first + k;
                Person p = people_[std::size_t(c)];
                if (p.death && p.death - p.birth < 17) continue;
                if (rng_.chance(300)) { // stays single for now: a relative may marry them later
                    (p.sex == 'M' ? pool.men : pool.women).push_back(c);
                    continue;
                }
                int wedding = p.birth + rng_.range(18, 32);
                if (wedding > 2020) continue;
                std::int32_t spouse = rng_.chance(60) ? takeCousin(pool, p) : kNone;
                if (spouse == kNone) spouse = addOutsider(p.sex == 'M' ? 'F' : 'M', p.birth, group);
                queue.push_back(marry(c, spouse, wedding));
                if (count() < end && rng_.chance(120)) {
                    // A second marriage some years on.
                    int later = wedding + rng_.range(5, 20);
                    if (later <= 2020 && (!p.death || later < p.death)) {
                        std::int32_t s2 = addOutsider(p.sex == 'M' ? 'F' : 'M', p.birth + 5, group);
                        queue.push_back(marry(c, s2, later));
                    }
                }
            }
        }
    }

    std::int64_t target_;
    Rng rng_;
    std::vector<Person> people_;
    std::vector<Family> families_;
    std::vector<std::int32_t> famsStart_, fams_;
    int groups_ = 0;
};

// ---------------------------------------------------------------- the writer
class Writer {
public:
    Writer(const Tree& t, Out& o, std::uint64_t seed) : t_(t), o_(o), seed_(seed) {
        male_ = encodeList(kMaleGiven, countOf(kMaleGiven));
        female_ = encodeList(kFemaleGiven, countOf(kFemaleGiven));
        surnames_ = encodeList(kSurnames, countOf(kSurnames));
        towns_ = encodeList(kTowns, countOf(kTowns));
        counties_ = encodeList(kCounties, countOf(kCounties));
        countries_ = encodeList(kCountries, countOf(kCountries));
        words_ = encodeList(kWords, countOf(kWords));
        sources_ = std::max<std::int64_t>(5, t.count() / 150);
        repos_ = std::max<std::int64_t>(2, sources_ / 12);
    }

    void write(const std::string& fileName, const char* charset) {
        header(fileName, charset);
        for (std::int64_t i = 1; i <= t_.count(); ++i) individual(i);
        for (std::int64_t f = 1; f <= t_.familyCount(); ++f) family(f);
        // Sources before notes: a source may point to a note, which must then get its record.
        for (std::int64_t s = 1; s <= sources_; ++s) sourceRecord(s);
        for (std::int64_t n = 1; n <= notes_; ++n) noteRecord(n);
        for (std::int64_t r = 1; r <= repos_; ++r) repoRecord(r);
        o_.s("0 TRLR");
        o_.end();
    }

    std::int64_t notes() const { return notes_; }
    std::int64_t sources() const { return sources_; }
    std::int64_t repos() const { return repos_; }

private:
    void header(const std::string& fileName, const char* charset) {
        o_.s("0 HEAD");
        o_.end();
        o_.s("1 SOUR GENGEDCOM");
        o_.end();
        o_.s("2 NAME Synthetic family generator");
        o_.end();
        o_.s("2 VERS 1.0");
        o_.end();
        o_.s("2 CORP Brenthaul test data");
        o_.end();
        o_.s("3 ADDR 1 Example Road");
        o_.end();
        o_.s("4 CONT Springfield");
        o_.end();
        o_.s("1 DEST ANY");
        o_.end();
        o_.s("1 DATE 1 JAN 2024");
        o_.end();
        o_.s("2 TIME 12:00:00");
        o_.end();
        o_.s("1 SUBM @U1@");
        o_.end();
        o_.s("1 FILE ").s(fileName);
        o_.end();
        o_.s("1 GEDC");
        o_.end();
        o_.s("2 VERS 5.5.1");
        o_.end();
        o_.s("2 FORM LINEAGE-LINKED");
        o_.end();
        o_.s("1 CHAR ").s(charset);
        o_.end();
        o_.s("0 @U1@ SUBM");
        o_.end();
        o_.s("1 NAME ").s(encode("Généalogie Synthétique"));
        o_.end();
        o_.s("1 ADDR 12 Mill Lane");
        o_.end();
        o_.s("2 CONT Ashby");
        o_.end();
        o_.s("2 CONT Kent");
        o_.end();
        o_.s("1 CTRY England");
        o_.end();
        o_.s("1 PHON +44 1234 567890");
        o_.end();
        o_.s("1 EMAIL family@example.org");
        o_.end();
    }

    const std::string& given(const Person& p) const {
        return p.sex == 'M' ? male_[p.given % male_.size()] : female_[p.given % female_.size()];
    }

    void place(Rng& r, int level) {
        o_.n(level).s(" PLAC ").s(towns_[r.below(std::uint32_t(towns_.size()))]);
        if (!r.chance(100)) o_.s(", ").s(counties_[r.below(std::uint32_t(counties_.size()))]);
        o_.s(", ").s(countries_[r.below(std::uint32_t(countries_.size()))]);
        o_.end();
    }

    void day(Rng& r, int year) { o_.n(r.range(1, 28)).c(' ').s(kMonths[r.below(12)]).c(' ').n(year); }

    // A DATE line with one of the usual qualifiers.
    void date(Rng& r, int level, int year, bool period = false) {
        o_.n(level).s(" DATE ");
        unsigned k = r.below(100);
        if (period) {
            if (k < 60)
                o_.s("FROM ").n(year).s(" TO ").n(year + r.range(1, 15));
            else if (k < 80)
                o_.s("FROM ").n(year);
            else
                o_.s("TO ").n(year);
        } else if (k < 52)
            day(r, year);
        else if (k < 60)
            o_.s(kMonths[r.below(12)]).c(' ').n(year);
        else if (k < 70)
            o_.n(year);
        else if (k < 78)
            o_.s("ABT ").n(year);
        else if (k < 82)
            o_.s("BEF ").n(year + r.range(0, 2));
        else if (k < 86)
            o_.s("AFT ").n(year - r.range(0, 2));
        else if (k < 92)
            o_.s("BET ").n(year - r.range(1, 3)).s(" AND ").n(year + r.range(1, 3));
        else if (k < 95)
            o_.s("EST ").n(year);
        else if (k < 97)
            o_.s("CAL ").n(year);
        else if (k < 98)
            o_.s("ABT ").s(kMonths[r.below(12)]).c(' ').n(year);
        else
            o_.s("BET ").s(kMonths[r.below(6)]).c(' ').n(year).s(" AND ").s(kMonths[6 + r.below(6)]).c(' ').n(year);
        o_.end();
    }

    void citation(Rng& r, int level) {
        if (r.chance(30)) { // written inline
            o_.n(level)
                .s(" SOUR ")
                .s(kSourceKinds[r.below(countOf(kSourceKinds))])
                .c(' ')
                .s(towns_[r.below(std::uint32_t(towns_.size()))]);
            o_.end();
            o_.n(level + 1).s(" TEXT Entry ").n(r.range(1, 400));
            o_.end();
            return;
        }
        o_.n(level).s(" SOUR ").x('S', 1 + r.below(std::uint32_t(sources_)));
        o_.end();
        o_.n(level + 1).s(" PAGE p. ").n(r.range(1, 800));
        o_.end();
        if (r.chance(100)) {
            o_.n(level + 1).s(" QUAY ").n(r.range(0, 3));
            o_.end();
        }
    }

    // Some words, wrapped with CONC and broken into paragraphs with CONT.
    void text(Rng& r, int level, std::string_view first) {
        std::string line(first);
        int words = r.range(6, 90);
        int paragraphs = 0;
        for (int w = 0; w < words; ++w) {
            if (!line.empty()) line.push_back(' ');
            line += words_[r.below(std::uint32_t(words_.size()))];
            if (line.size() > 70) {
                // Cut inside the text: the rest continues on a CONC line.
                std::size_t cut = line.size() - 5;
                while (cut > 0 && (line[cut] == ' ' || line[cut - 1] == ' ' ||
                                   (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80 ||
                                   static_cast<unsigned char>(line[cut - 1]) >= 0xE0))
                    --cut;
                o_.s(std::string_view(line).substr(0, cut));
                o_.end();
                o_.n(level + 1).s(" CONC ");
                line.erase(0, cut);
            }
            if (paragraphs < 3 && r.chance(40)) {
                o_.s(line);
                o_.end();
                o_.n(level + 1).s(" CONT");
                if (r.chance(200)) {
                    o_.end();
                    o_.n(level + 1).s(" CONT");
                } // empty line
                o_.c(' ');
                line.clear();
                ++paragraphs;
            }
        }
        o_.s(line);
        o_.end();
    }

    void note(Rng& r, int level) {
        if (r.chance(500)) {
            o_.n(level).s(" NOTE ").x('N', ++notes_);
            o_.end();
            return;
        }
        o_.n(level).s(" NOTE ");
        text(r, level, {});
    }

    void individual(std::int64_t i) {
        Rng r(mix(seed_, std::uint64_t(i)));
        const Person& p = t_.person(i);
        o_.s("0 ").x('I', i).s(" INDI");
        o_.end();
        const std::string& sur = surnames_[p.surname % surnames_.size()];
        o_.s("1 NAME ");
        if (r.chance(30))
            o_.s("/").s(sur).s("/ ").s(given(p));
        else
            o_.s(given(p)).s(" /").s(sur).c('/');
        bool suffix = r.chance(15);
        if (suffix) o_.s(" Jr");
        o_.end();
        if (r.chance(300)) {
            o_.s("2 GIVN ").s(given(p));
            o_.end();
            o_.s("2 SURN ").s(sur);
            o_.end();
        }
        if (r.chance(20)) {
            o_.s("2 NPFX Rev.");
            o_.end();
        }
        if (suffix) {
            o_.s("2 NSFX Jr");
            o_.end();
        }
        if (r.chance(40)) citation(r, 2);
        if (!r.chance(20)) {
            o_.s("1 SEX ").c(char(p.sex));
            o_.end();
        }
        if (!r.chance(80)) {
            o_.s("1 BIRT");
            o_.end();
            date(r, 2, p.birth);
            if (!r.chance(150)) place(r, 2);
            if (r.chance(200)) citation(r, 2);
            if (r.chance(20)) note(r, 2);
        }
        if (r.chance(300)) {
            o_.s("1 CHR");
            o_.end();
            date(r, 2, p.birth);
            place(r, 2);
        }
        if (r.chance(30)) {
            o_.s("1 BAPM");
            o_.end();
            date(r, 2, p.birth);
        }
        if (p.birth > 1800 && r.chance(300)) {
            o_.s("1 OCCU ").s(kOccupations[r.below(countOf(kOccupations))]);
            o_.end();
            date(r, 2, p.birth + r.range(16, 30), true);
            if (r.chance(200)) place(r, 2);
        }
        if (r.chance(150)) {
            o_.s("1 RESI");
            o_.end();
            date(r, 2, p.birth + r.range(0, 40), r.chance(500));
            place(r, 2);
        }
        if (r.chance(20)) {
            o_.s("1 EVEN Shipwreck survivor");
            o_.end();
            o_.s("2 TYPE Adventure");
            o_.end();
            date(r, 2, p.birth + r.range(10, 40));
        }
        if (p.birth > 1860 && r.chance(40)) {
            o_.s("1 IMMI");
            o_.end();
            date(r, 2, p.birth + r.range(15, 35));
            place(r, 2);
        }
        if (p.death) {
            if (r.chance(900)) {
                o_.s("1 DEAT");
                o_.end();
                date(r, 2, p.death);
                if (!r.chance(250)) place(r, 2);
                if (r.chance(150)) {
                    o_.s("2 CAUS ").s(kCauses[r.below(countOf(kCauses))]);
                    o_.end();
                }
            }
            if (r.chance(350)) {
                o_.s("1 BURI");
                o_.end();
                date(r, 2, p.death + (r.chance(900) ? 0 : 1));
                place(r, 2);
            }
        } else if (p.birth < 1930) {
            o_.s("1 DEAT Y");
            o_.end();
        }
        if (r.chance(15)) {
            o_.s("1 BAPL");
            o_.end();
            if (r.chance(500))
                date(r, 2, 1970 + r.range(0, 40));
            else {
                o_.s("2 STAT ").s(kStatus[r.below(countOf(kStatus))]);
                o_.end();
            }
            o_.s("2 TEMP ").s(kTemples[r.below(countOf(kTemples))]);
            o_.end();
            o_.s("1 ENDL");
            o_.end();
            date(r, 2, 1970 + r.range(0, 40));
            o_.s("2 TEMP ").s(kTemples[r.below(countOf(kTemples))]);
            o_.end();
            if (p.famc) {
                o_.s("1 SLGC");
                o_.end();
                o_.s("2 FAMC ").x('F', p.famc);
                o_.end();
                o_.s("2 TEMP ").s(kTemples[r.below(countOf(kTemples))]);
                o_.end();
            }
        }
        if (p.famc) {
            o_.s("1 FAMC ").x('F', p.famc);
            o_.end();
            if (r.chance(10)) {
                o_.s("2 PEDI birth");
                o_.end();
            }
        }
        for (std::int32_t k = 0, n = t_.spouseFamilyCount(i); k < n; ++k) {
            o_.s("1 FAMS ").x('F', t_.spouseFamily(i, k));
            o_.end();
        }
        if (r.chance(60)) { // a second name
            o_.s("1 NAME ").s(given(p)).s(" /").s(surnames_[r.below(std::uint32_t(surnames_.size()))]).c('/');
            o_.end();
            o_.s("2 TYPE aka");
            o_.end();
        }
        if (r.chance(100)) note(r, 1);
        if (r.chance(15)) note(r, 1);
        if (r.chance(250)) citation(r, 1);
        if (r.chance(50)) citation(r, 1);
        if (r.chance(40)) {
            o_.s("1 REFN ").n(100000 + i);
            o_.end();
        }
        if (r.chance(10)) {
            o_.s("1 AFN ").n(1000 + i).s("-").n(r.range(10, 99));
            o_.end();
        }
        if (r.chance(250)) {
            o_.s("1 CHAN");
            o_.end();
            o_.s("2 DATE ");
            day(r, r.range(1998, 2023));
            o_.end();
            o_.s("3 TIME ").n(r.range(10, 23)).s(":").n(r.range(10, 59)).s(":").n(r.range(10, 59));
            o_.end();
        }
    }

    void family(std::int64_t f) {
        Rng r(mix(seed_ ^ 0xFA, std::uint64_t(f)));
        const Family& fam = t_.family(f);
        o_.s("0 ").x('F', f).s(" FAM");
        o_.end();
        if (fam.husb) {
            o_.s("1 HUSB ").x('I', fam.husb);
            o_.end();
        }
        if (fam.wife) {
            o_.s("1 WIFE ").x('I', fam.wife);
            o_.end();
        }
        for (std::int32_t k = 0; k < fam.childCount; ++k) {
            o_.s("1 CHIL ").x('I', fam.firstChild + k);
            o_.end();
        }
        if (!r.chance(100)) {
            o_.s("1 MARR");
            o_.end();
            if (r.chance(100)) place(r, 2); // the date after the place now and then
            date(r, 2, fam.year);
            if (r.chance(700)) place(r, 2);
            if (r.chance(150)) citation(r, 2);
        }
        if (fam.childCount) {
            o_.s("1 NCHI ").n(fam.childCount);
            o_.end();
        }
        if (r.chance(30)) {
            o_.s("1 DIV Y");
            o_.end();
            date(r, 2, fam.year + r.range(2, 15));
        }
        if (r.chance(15)) {
            o_.s("1 SLGS");
            o_.end();
            date(r, 2, 1970 + r.range(0, 40));
            o_.s("2 TEMP ").s(kTemples[r.below(countOf(kTemples))]);
            o_.end();
        }
        if (r.chance(40)) note(r, 1);
        if (r.chance(60)) citation(r, 1);
    }

    void noteRecord(std::int64_t n) {
        Rng r(mix(seed_ ^ 0x40, std::uint64_t(n)));
        o_.s("0 ").x('N', n).s(" NOTE ");
        text(r, 0, {});
    }

    void sourceRecord(std::int64_t s) {
        Rng r(mix(seed_ ^ 0x50, std::uint64_t(s)));
        o_.s("0 ").x('S', s).s(" SOUR");
        o_.end();
        o_.s("1 TITL ")
            .s(kSourceKinds[r.below(countOf(kSourceKinds))])
            .c(' ')
            .s(towns_[r.below(std::uint32_t(towns_.size()))])
            .s(", ")
            .n(r.range(1600, 1950))
            .c('-')
            .n(r.range(1951, 2000));
        o_.end();
        if (r.chance(700)) {
            o_.s("1 AUTH ")
                .s(given(t_.person(1 + r.below(std::uint32_t(t_.count())))))
                .c(' ')
                .s(surnames_[r.below(std::uint32_t(surnames_.size()))]);
            o_.end();
        }
        if (r.chance(400)) {
            o_.s("1 PUBL Privately printed, ").n(r.range(1850, 2010));
            o_.end();
        }
        if (r.chance(300)) {
            o_.s("1 ABBR SRC").n(s);
            o_.end();
        }
        o_.s("1 REPO ").x('R', 1 + r.below(std::uint32_t(repos_)));
        o_.end();
        o_.s("2 CALN MS ").n(r.range(100, 99999));
        o_.end();
        if (r.chance(250)) note(r, 1);
        if (r.chance(200)) {
            o_.s("1 TEXT ");
            text(r, 1, {});
        }
    }

    void repoRecord(std::int64_t n) {
        Rng r(mix(seed_ ^ 0x60, std::uint64_t(n)));
        o_.s("0 ").x('R', n).s(" REPO");
        o_.end();
        o_.s("1 NAME ").s(kRepoNames[r.below(countOf(kRepoNames))]);
        o_.end();
        o_.s("2 CONT ").s(towns_[r.below(std::uint32_t(towns_.size()))]);
        o_.end();
        o_.s("1 ADDR ").n(r.range(1, 200)).s(" High Street");
        o_.end();
        o_.s("2 CONT ").s(towns_[r.below(std::uint32_t(towns_.size()))]);
        o_.end();
        o_.s("2 CITY ").s(towns_[r.below(std::uint32_t(towns_.size()))]);
        o_.end();
        o_.s("2 POST ").n(r.range(10000, 99999));
        o_.end();
        o_.s("2 CTRY ").s(countries_[r.below(std::uint32_t(countries_.size()))]);
        o_.end();
        o_.s("1 PHON +1 555 ").n(r.range(1000, 9999));
        o_.end();
    }

    const Tree& t_;
    Out& o_;
    std::uint64_t seed_;
    std::vector<std::string> male_, female_, surnames_, towns_, counties_, countries_, words_;
    std::int64_t notes_ = 0, sources_ = 0, repos_ = 0;
};

void usage() {
    std::fputs("usage: gengedcom --individuals N [--seed S] [--charset UTF-8|ANSEL] [--eol crlf|lf|cr] [--bom]"
               " [--quiet] --out file.ged\n",
               stderr);
}

bool parseNumber(const char* s, std::int64_t& v) {
    char* end = nullptr;
    long long x = std::strtoll(s, &end, 10);
    if (!end || *end || end == s || x < 0) return false;
    v = x;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::int64_t n = -1, seed = 1;
    std::string charset = "UTF-8", eolName = "crlf", out;
    bool bom = false, quiet = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (a == "--individuals" && (v = value())) {
            if (!parseNumber(v, n)) n = -1;
        } else if (a == "--seed" && (v = value())) {
            if (!parseNumber(v, seed)) {
                usage();
                return 2;
            }
        } else if (a == "--charset" && (v = value()))
            charset = v;
        else if (a == "--eol" && (v = value()))
            eolName = v;
        else if (a == "--out" && (v = value()))
            out = v;
        else if (a == "--bom")
            bom = true;
        else if (a == "--quiet")
            quiet = true;
        else {
            usage();
            return 2;
        }
    }
    if (n < 0 || n > 30000000 || out.empty()) {
        usage();
        return 2;
    }
    for (char& c : charset) c = char(std::toupper(static_cast<unsigned char>(c)));
    if (charset == "UTF8") charset = "UTF-8";
    if (charset != "UTF-8" && charset != "ANSEL") {
        usage();
        return 2;
    }
    std::string eol = eolName == "lf" ? "\n" : eolName == "cr" ? "\r" : eolName == "crlf" ? "\r\n" : "";
    if (eol.empty()) {
        usage();
        return 2;
    }
    gAnsel = charset == "ANSEL";

    Tree tree(n, std::uint64_t(seed));
    tree.build();
    tree.indexSpouses();

    std::FILE* f = std::fopen(out.c_str(), "wb");
    if (!f) {
        std::perror(out.c_str());
        return 1;
    }
    std::string base = out.substr(out.find_last_of('/') == std::string::npos ? 0 : out.find_last_of('/') + 1);
    bool failed;
    std::int64_t notes, sources, repos;
    {
        Out o(f, eol);
        if (bom && !gAnsel) o.s("\xEF\xBB\xBF");
        Writer w(tree, o, std::uint64_t(seed));
        w.write(base, charset.c_str());
        o.flush();
        failed = o.failed;
        notes = w.notes();
        sources = w.sources();
        repos = w.repos();
    }
    if (std::fclose(f) != 0 || failed) {
        std::perror(out.c_str());
        return 1;
    }
    if (!quiet)
        std::fprintf(stderr,
                     "%s: %lld individuals, %lld families, %lld notes, %lld sources, %lld repositories, %d groups\n",
                     out.c_str(), static_cast<long long>(tree.count()), static_cast<long long>(tree.familyCount()),
                     static_cast<long long>(notes), static_cast<long long>(sources), static_cast<long long>(repos),
                     tree.groups());
    return 0;
}
