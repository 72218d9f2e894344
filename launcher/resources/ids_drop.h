// Ids of dropping onto the bar and dragging buttons out.
#pragma once

// A single dropped object would replace the button in that slot.
#define IDS_DROP_REPLACE 448
#define IDS_DROP_REPLACE_CAPTION 449
