// Ids of the program picker, the icon picker and the progress dialog.
#pragma once
