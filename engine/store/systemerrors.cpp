// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/systemerrors.h"
#include "engine/store/filetexts.h"

namespace zelmo::engine {

std::string systemErrorText(int error) {
    for (const fileTexts::SystemErrorText& row : fileTexts::kSystemErrors) {
        if (row.error == error) {
            return std::string(row.text);
        }
    }
    return fileTexts::format(fileTexts::kOtherSystemError, std::to_string(error));
}

}  // namespace zelmo::engine
