/* Resource identifiers of the blocker template, shared by its resource script
   and its code. The lowest icon is the one the shell and Task Manager show. */
#ifndef QX_BLOCKER_RESOURCE_H
#define QX_BLOCKER_RESOURCE_H

#define IDI_BLOCKER 1

#endif
