#pragma once
// A set of test topic areas, numbered 0..255 by the lines of the course's
// test topic list. The empty set means every topic.
#include <bitset>

namespace quarvel {
using TTopicSet = std::bitset<256>;
}
