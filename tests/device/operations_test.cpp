#include "link_fixture.h"
