#pragma once

#include <layout.h>

// The bill window as it stands when created, before its Form_Load runs.
extern const tk::FormLayout billWindowLayout;
