#include "support/stored_place_path.h"

#include "support/code_page.h"
#include "support/errors.h"
#include "support/messages.h"

namespace velbrook {

StoredPlacePath PathOfStoredPlace(const RegValue& value) {
    StoredPlacePath place;
    if (value.type == kRegDword) {
        long long number = 0;
        for (std::size_t i = value.data.size(); i-- > 0;)
            number = (number << 8) | value.data[i];
        place.caption = FormatText(msg::kSpecialFolderNumber, number);
        return place;
    }
    std::u16string text = Utf16Text(value.data);
    text = text.substr(0, text.find(u'\0'));
    place.caption = Utf16ToAnsiLossy(text);
    place.path = Utf16ToAnsi(text);
    return place;
}

} // namespace velbrook
