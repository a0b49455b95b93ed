#pragma once

#include <layout.h>

// The about window as it stands when created, before its Form_Load runs: the credits wait below their
// viewport.
extern const tk::FormLayout aboutWindowLayout;
