#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace pellwerk {

// The kinds of part a skin is put together from: one for each list of the parts window, the
// user's own files last. Every table of kinds (places, lists, words) follows this order.
enum class PartKindId {
    Foot,
    RightArm,
    LeftArm,
    Tattoo,
    Chain,
    Face,
    Pants,
    Shirt,
    Glasses,
    Beard,
    User,
};

inline constexpr std::array<PartKindId, 11> AllPartKinds{PartKindId::Foot,   PartKindId::RightArm, PartKindId::LeftArm,
                                                         PartKindId::Tattoo, PartKindId::Chain,    PartKindId::Face,
                                                         PartKindId::Pants,  PartKindId::Shirt,    PartKindId::Glasses,
                                                         PartKindId::Beard,  PartKindId::User};

// The kind's word in recipes and on the command line: its name, in lower case and one word.
QString partKindKey(PartKindId kind);
// The kind whose word is exactly `key` (lower case), or nothing.
std::optional<PartKindId> partKindFromKey(QStringView key);
// Every kind's word in order, joined by ", ": how help texts and messages list them.
QString partKindKeyList();

} // namespace pellwerk
