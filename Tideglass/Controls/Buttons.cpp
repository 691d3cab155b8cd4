#include "Controls/Buttons.h"
