// Ids of the item property sheet and the new-item wizard.
#pragma once
