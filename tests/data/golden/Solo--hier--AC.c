/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/*  Automatic generated C-code by the application:                              */
/*     Orvane Editor v1.0r0                                                     */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Methodology: Hierarchical Switch-case state. [v1.2r3]                        */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Exported function: void Solo(void);                                          */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Initialization proposed by the user (Start).                                 */
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
  #include "io.h"

/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
/* Initialization proposed by the user (End).                                   */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Entry flags (Start).                                                         */
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
  static unsigned char entryFsmFlg = 0;
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
/* Entry flags (End).                                                           */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Automatic initialization (Start).                                            */
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
 /* States index. */
  #define  i_OFF  0
  #define  i_ON   1

 /* Index variable. */
static unsigned char ind_Solo = i_OFF;

/* Macros & functions.                                                          */
/* Force the FSM to the initial state.                                          */
#define Solo_Init() { ind_Solo = i_OFF; entryFsmFlg = 0; }

/* This is not a history FSM.                                                   */
#define _Solo_Init()  {Solo_Init(); /* Children: */ }

/* Confirm that the FSM has reached the state:[On].                             */
#define Solo_IsIn_On() (ind_Solo == i_ON)

/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
/* Automatic initialization (End).                                              */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Local child functions  (Start).                                              */
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/

/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
/* Local child functions  (End).                                                */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* FSM dispatcher function to be called by the O.S.                             */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Lamp switch.                                                                 */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
void Solo(void)
{
    /* Next state analyser. */
    switch(ind_Solo){
        case i_OFF:
            /* Entry check */
            if(entryFsmFlg == 0){
                entryFsmFlg = 1;
                /* Entry actions */
                led(0);
            }
            /* Next state selection. */
            if(button){
                /* Pointing to the next state. */
                ind_Solo = i_ON;
                /* Reset entry flag */
                entryFsmFlg = 0;
            }
        break;
        case i_ON:
            /* State actions (Moore). */
            led(1);
            /* Next state selection. */
            if(!button){
                /* Transition actions (Meally). */
                count++;
                /* Pointing to the next state. */
                ind_Solo = i_OFF;
            }
        break;
    }
}


/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Ending code proposed by the user (Start).                                    */
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/

/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
/* Ending code proposed by the user (End).                                      */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/*  End of the automatic generated C-code.                                      */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
