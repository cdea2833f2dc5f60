#pragma once

#include "core/StoredAccount.h"
#include "ordering/QORRecords.h"

namespace pavlora {

// The application's user record and what the user settings keep of it.

// Takes the stored account into `user`: login, password, the account's
// flags and values and both addresses (billing, then shipping). What only
// the server knows (user id, security question and answer, the login
// state) stays as it is.
void ApplyStoredAccount(TQORUser& user, const TStoredAccount& account);

// What the account save writes of `user`; the addresses billing first,
// then shipping (both always present).
TStoredAccount StoredAccountOf(const TQORUser& user);

} // namespace pavlora
