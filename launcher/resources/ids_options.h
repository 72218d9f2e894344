// Ids of the options sheet: behaviour and timing pages.
#pragma once
