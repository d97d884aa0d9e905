#pragma once
// A second name of a file, through which its old content can still be looked
// at after the file was replaced: whether it was read shows in its access time,
// which the system sets on a read once it is older than the last change.
#include <string>

namespace velbrook::testing {

class ReadWitness {
  public:
    explicit ReadWitness(const std::string& file);
    ~ReadWitness();
    ReadWitness(const ReadWitness&) = delete;
    ReadWitness& operator=(const ReadWitness&) = delete;

    bool WasRead() const { return AccessTime() != before_; }
    // Reads the old content itself: false where the system does not show reads.
    bool Works();

  private:
    long long AccessTime() const;

    std::string name_;
    bool linked_ = false;
    long long before_ = 0;
};

} // namespace velbrook::testing
