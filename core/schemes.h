#pragma once
// Quick adjust schemes: named sets of five places stored under the program's key.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "core/places_bar.h"

namespace velbrook {

inline constexpr char kProgramKey[] = "Software\\Tarnwick\\Dorvane\\1.x";
inline constexpr char kSchemesSubkey[] = "Schemes";

// The container the scheme operations work on. The window backs it with its
// sorted combo box items; OrderedSchemeList keeps insertion order.
class SchemeList {
  public:
    virtual ~SchemeList() = default;
    virtual int Count() const = 0;
    virtual std::string Name(int index) const = 0;
    virtual const PlacesList& Places(int index) const = 0;
    // Adds at the container's own position (sorted or appended); a scheme read
    // from the store comes with the entry key it was read from.
    virtual void Add(const std::string& name, std::unique_ptr<PlacesList> places,
                     int storedIndex = -1) = 0;
    virtual std::unique_ptr<PlacesList> DetachPlaces(int index) = 0;
    virtual void Clear() = 0;
};

class OrderedSchemeList : public SchemeList {
  public:
    int Count() const override { return static_cast<int>(entries_.size()); }
    std::string Name(int index) const override;
    const PlacesList& Places(int index) const override;
    void Add(const std::string& name, std::unique_ptr<PlacesList> places,
             int storedIndex = -1) override;
    std::unique_ptr<PlacesList> DetachPlaces(int index) override;
    // The entry key the scheme was read from; -1 for one added since.
    int StoredIndex(int index) const { return entries_[Checked(index)].storedIndex; }
    // The schemes after it move down by one.
    void Remove(int index);
    void Clear() override { entries_.clear(); }

  private:
    // Raises ListIndexError for an index outside the list.
    std::size_t Checked(int index) const;

    struct Entry {
        std::string name;
        std::unique_ptr<PlacesList> places;
        int storedIndex;
    };
    std::vector<Entry> entries_;
};

struct SchemeLoadOptions {
    // The window consumes the pending "Add"/"Delete" edits (it saves the list back);
    // ApplyScheme only merges them.
    bool consumePendingEdits = true;
    // The window skips an unreadable entry, or a count that cannot be read,
    // instead of stopping at it.
    bool skipDamagedEntries = false;
};

// Adds the stored schemes. With skipDamagedEntries, returns the message of the
// first thing that could not be read (empty when all were read), and the store
// must then not be saved over; otherwise such a thing raises.
std::string LoadSchemes(SchemeList& schemes, const SchemeLoadOptions& options = {});
void SaveSchemes(const SchemeList& schemes);
// Applies the first stored scheme of that name (case-insensitive) to the places
// bar. False after telling the user when there is none. Of the schemes before it
// only the names are read.
bool ApplyScheme(const std::string& name);

} // namespace velbrook
