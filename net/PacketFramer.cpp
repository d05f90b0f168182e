#include "net/PacketFramer.h"

#include <cassert>
#include <cstring>

void PacketFramer::Reset() {
  memset(area_, 0, received_);
  received_ = 0;
  total_length_ = 0;
  status_ = Status::kIncomplete;
}

size_t PacketFramer::BytesWanted() const {
  if (status_ != Status::kIncomplete)
    return 0;
  if (received_ < kLengthFieldBytes)
    return kLengthFieldBytes - received_;
  return total_length_ - received_;
}

PacketFramer::Status PacketFramer::Accept(size_t count) {
  if (status_ != Status::kIncomplete)
    return status_;
  assert(count <= BytesWanted());
  received_ += count <= BytesWanted() ? count : BytesWanted();
  if (total_length_ == 0 && received_ >= kLengthFieldBytes) {
    total_length_ = static_cast<size_t>(area_[0]) | static_cast<size_t>(area_[1]) << 8;
    if (!IsValidLength(total_length_)) {
      status_ = Status::kBadLength;
      return status_;
    }
  }
  if (total_length_ != 0 && received_ == total_length_)
    status_ = Status::kComplete;
  return status_;
}
