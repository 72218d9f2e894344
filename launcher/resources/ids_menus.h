// Ids of the context menus and the bar menu.
#pragma once
