#include "Controls/ImagesAndSliders.h"
