// keyrun's card tokens: a magnetic card in the slot, driven through the same card and cycle
// as the calculator window, with the cycle's ticks run at once.
//
//   card-new            a blank card, side A facing the reader
//   card-load=PATH      the card of a card file, side A facing the reader
//   card-save=PATH      writes the card to a card file
//   record, enter       a record or enter cycle on the side facing the reader
//   swap                turns the card over
//   protect-a/-b        toggles a side's write protection
//   stack-save=PATH     program memory as a marked card stack, cut into cards as the
//                       viewer's Optical Card export cuts it (up to the first END)
#pragma once

#include <string>

#include "cards/magnetic/magneticcard.h"

namespace orrindale {

class Calculator;

class KeyrunCards {
public:
    enum class Result { NotCard, Done, Failed };

    // token as typed (a path keeps its case); Error() tells why a card token failed.
    Result Apply(const std::string& token, Calculator& calc);
    // Whether the token works the magnetic card slot (stack-save does not: it is the viewer's).
    static bool IsSlotToken(const std::string& token);
    const std::string& Error() const { return error_; }

private:
    Result Fail(const std::string& why);
    Result Cycle(bool record, Calculator& calc);
    Result SaveStack(const std::string& path, const Calculator& calc);

    TMagneticCard card_;
    std::string error_;
};

} // namespace orrindale
