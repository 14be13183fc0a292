#pragma once

#include "tickets/ticket.h"

// Two tickets whose rows are easy to call in a test: 1234's rows are 1 21 41 61 81 / 12 32 52 72 82
// / 3 23 33 53 83; 77 has the same first row and other numbers below.
inline const tickets::Ticket kTicket{1234,
                                     {{{1, 0, 21, 0, 41, 0, 61, 0, 81},
                                       {0, 12, 0, 32, 0, 52, 0, 72, 82},
                                       {3, 0, 23, 33, 0, 53, 0, 0, 83}}}};
inline const tickets::Ticket kTwin{77,
                                   {{{1, 0, 21, 0, 41, 0, 61, 0, 81},
                                     {0, 13, 0, 34, 0, 54, 0, 74, 84},
                                     {5, 0, 25, 35, 0, 55, 0, 0, 85}}}};
