/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/*  Automatic generated C-code by the application:                              */
/*     Orvane Editor v1.0r0                                                     */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Methodology: Array of pointers to state functions. [v1.2r3]                  */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/

/* FSM function                                                                 */
void Lamp(void);

/* This is a history FSM.                                                       */
#define _Lamp_Init()  {}


