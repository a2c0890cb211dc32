#include "board/anim_choice.h"

#include <cstdlib>
#include <iostream>

const int animChoiceTable[4][11][5] = {
    {{7, 8, 8, 8, 8},
     {1, 6, 1, 6, 1},
     {4, 12, 14, 4, 12},
     {0, 5, 13, 16, 0},
     {2, 9, 17, 2, 2},
     {3, 10, 3, 3, 3},
     {11, 15, 11, 11, 11},
     {18, 19, 18, 18, 18},
     {20, 22, 20, 22, 20},
     {21, 23, 21, 23, 21},
     {21, 23, 20, 22, 21}},
    {{7, 1, 1, 1, 1},
     {0, 8, 0, 8, 0},
     {4, 12, 14, 4, 12},
     {0, 5, 13, 16, 0},
     {2, 9, 17, 2, 2},
     {3, 10, 3, 3, 3},
     {11, 15, 11, 11, 11},
     {18, 19, 18, 18, 18},
     {20, 22, 20, 22, 20},
     {21, 23, 21, 23, 21},
     {24, 23, 20, 22, 21}},
    {{0, 0, 2, 0, 2},
     {2, 2, 0, 10, 10},
     {4, 12, 14, 4, 12},
     {0, 5, 13, 16, 0},
     {2, 9, 17, 2, 2},
     {3, 10, 3, 3, 3},
     {11, 15, 11, 11, 11},
     {18, 19, 18, 18, 18},
     {20, 22, 20, 22, 20},
     {21, 23, 21, 23, 21},
     {24, 23, 20, 22, 21}},
    {{7, 8, 8, 8, 8},
     {1, 6, 1, 6, 1},
     {4, 12, 14, 4, 12},
     {0, 5, 13, 16, 0},
     {2, 9, 17, 2, 2},
     {3, 10, 3, 3, 3},
     {11, 15, 11, 11, 11},
     {18, 19, 18, 18, 18},
     {20, 22, 20, 22, 20},
     {21, 23, 21, 23, 21},
     {21, 23, 20, 22, 21}},
};

const int animMinWait[4][25] = {
    {2, 3, 1, 3, 2, 2, 1, 1, 1, 2, 1, 1, 1, 1, 2, 2, 1, 1, 2, 1, 1, 2, 2, 1, 0},
    {1, 1, 1, 1, 1, 2, 2, 1, 1, 2, 1, 2, 1, 1, 1, 1, 1, 2, 1, 1, 2, 2, 2, 1, 2},
    {1, 1, 1, 1, 2, 3, 2, 2, 1, 1, 2, 3, 1, 3, 2, 3, 1, 2, 1, 2, 1, 1, 2, 3, 2},
    {1, 2, 1, 1, 2, 2, 1, 1, 1, 3, 2, 1, 1, 1, 2, 4, 1, 2, 2, 2, 3, 3, 2, 3, 0},
};
const int animMinWaitLength[4] = {24, 25, 25, 24};

int choose_anim(int level, int route, int previousWait) {
    for (;;) {
        if (level < 0 || level > 10) {
            std::cerr << "ERROR choose_anim" << std::endl;
            level = level < 0 ? 0 : 10;
        }
        int column = std::rand() % 5;
        if (route < 0 || route > 3) return 0;
        int anim = animChoiceTable[route][level][column];
        // Route 0's animation 20 needs room before it: step down a level and draw again.
        if (route == 0 && anim == 20 && previousWait <= 4) {
            std::cout << "previousWait too little ! Changing anim pw: " << previousWait
                      << " ret: " << anim << std::endl;
            level -= 1;
            continue;
        }
        return anim;
    }
}

static int waitOf(int anim, int route) {
    if (anim < 0 || anim >= animMinWaitLength[route]) return 0;
    return animMinWait[route][anim];
}

int minWaitOf(int a, int b, int c, int route) {
    if (route < 0 || route > 3) return 0;
    int wait = waitOf(a, route);
    if (waitOf(b, route) > wait) wait = waitOf(b, route);
    if (waitOf(c, route) > wait) wait = waitOf(c, route);
    return wait;
}
