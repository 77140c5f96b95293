// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// System errors as both programs name them to the player: in Russian from one table, whatever
// the C library's locale, instead of strerror's English.
namespace zelmo::engine {

// "на диске нет места" for ENOSPC; an errno the table does not hold is named by its number
// ("системная ошибка 122").
std::string systemErrorText(int error);

}  // namespace zelmo::engine
