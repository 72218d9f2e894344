// Ids of the appearance page and skins.
#pragma once
